#pragma once
#include "framework/BitmapButton.h"
#include "framework/Dialog.h"
#include "framework/ToolTip.h"

class CLauncherApp;

// The menu window: six picture buttons, each starting one job of the suite.
class CMenuDlg : public CDialog {
public:
    explicit CMenuDlg(CLauncherApp& app);

    bool IsAlwaysOnTop() const { return m_alwaysOnTop != 0; }
    HWND ToolTipWindow() const { return m_toolTip.GetSafeHwnd(); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    // Enter and Esc do not close the menu; only a close request does.
    void OnOK() override {}
    void OnCancel() override {}
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void AddSystemMenuItems();
    void LoadButtons();
    void LayOut();
    void AddToolTips();

    BOOL OnSysCommand(UINT id);
    void ToggleAlwaysOnTop();

    // The button jobs (MenuStarts.cpp).
    void OpenDocument();
    void StartProgram(const char* exeName, const char* logName, bool setCurrentDirectory);
    void ApplyCurrentDirectoryRule();

    CLauncherApp& m_app;
    CBitmapButton m_buttons[6];
    CToolTip m_toolTip;
    HICON m_icon = nullptr;
    int m_alwaysOnTop = 0;
};
