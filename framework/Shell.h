#pragma once
#include <windows.h>

// The shell's "open" verb, for starting programs and documents.
class IShell {
public:
    virtual ~IShell() = default;
    virtual HINSTANCE Open(HWND owner, const char* file, const char* parameters, const char* directory, int show) = 0;
    static IShell& Production();
};
