#pragma once
#include "framework/Dialog.h"

// A program's About box: its template shows the version; the rights line is put together when it opens from the
// strings 301 (the copyright prefix) and 300 (the maker), so every program states it the same way.
class CAboutDlg : public CDialog {
public:
    CAboutDlg(UINT templateId, UINT rightsControlId) : CDialog(templateId), m_rightsControlId(rightsControlId) {}

protected:
    BOOL OnInitDialog() override;

private:
    UINT m_rightsControlId;
};
