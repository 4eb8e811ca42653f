#pragma once
#include <windows.h>

#include <string>

// The module whose resources the program uses: the executable itself unless a DLL sets its own.
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE instance);

// A numbered string of the string table, as code page 936 bytes; empty when it does not exist.
std::string LoadResString(UINT id);

// A string-table text with "%1" replaced by the argument, e.g. "不能打开文件 %1".
std::string FormatResString(UINT id, const std::string& arg);
