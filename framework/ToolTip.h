#pragma once
#include <windows.h>

// A tooltip control for a dialog's controls, each tip a string-table entry. The control subclasses the tools
// itself, so no message relaying is needed.
class CToolTip {
public:
    CToolTip() = default;
    ~CToolTip();
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;

    bool Create(HWND owner);
    bool AddTool(HWND control, UINT stringId);
    void Activate(bool active);
    HWND GetSafeHwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
};
