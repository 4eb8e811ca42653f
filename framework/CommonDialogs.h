#pragma once
#include <windows.h>
#include <commdlg.h>

// Every common dialog of every program goes through here.
class ICommonDialogs {
public:
    virtual ~ICommonDialogs() = default;
    virtual BOOL OpenFile(OPENFILENAMEA& ofn) = 0;
    virtual BOOL SaveFile(OPENFILENAMEA& ofn) = 0;
    static ICommonDialogs& Production();
};
