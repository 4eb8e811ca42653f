#include "framework/FilePath.h"

#include <windows.h>

std::string FullPathName(const std::string& path) {
    // Asked twice at most: once for the length, once for the text.
    std::string full(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.assign(length, '\0');
    }
    return path;
}
