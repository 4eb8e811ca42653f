#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// A path shortened for a menu to at most `maxLength` bytes, as the recent-file lists of Windows programs show
// them: the root ("C:\" or "\\server\share\"), "...\" and as many of the last folders as fit before the file
// name; only the file name when not even that fits. A path that fits is shown whole. Double-byte characters are
// kept whole: only a single-byte "\" separates names.
std::string AbbreviatePath(std::string_view path, size_t maxLength);
