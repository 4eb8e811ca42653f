#pragma once
#include <windows.h>

// Every help call goes through here: under Wine a help call on a missing file never returns.
class IHelpEngine {
public:
    virtual ~IHelpEngine() = default;
    virtual BOOL ShowHelp(HWND owner, const char* helpFile, UINT command, ULONG_PTR data) = 0;
    static IHelpEngine& Production();
};
