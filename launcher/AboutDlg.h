#pragma once
#include "framework/Dialog.h"

// "关于主菜单": the version and the rights line, which is put together from two strings when it opens.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
