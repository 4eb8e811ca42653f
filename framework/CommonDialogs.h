#pragma once
#include <windows.h>
#include <commdlg.h>

// Every common dialog of every program goes through here.
class ICommonDialogs {
public:
    virtual ~ICommonDialogs() = default;
    virtual BOOL OpenFile(OPENFILENAMEA& ofn) = 0;
    virtual BOOL SaveFile(OPENFILENAMEA& ofn) = 0;
    // The print and print-setup dialog.
    virtual BOOL Print(PRINTDLGA& pd) = 0;
    static ICommonDialogs& Production();
};
