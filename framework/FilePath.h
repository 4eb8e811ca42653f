#pragma once
#include <string>

// The absolute form of `path` against the current folder; `path` itself when the system cannot make one.
std::string FullPathName(const std::string& path);
