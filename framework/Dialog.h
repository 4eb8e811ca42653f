#pragma once
#include "framework/Window.h"

// A dialog from a template resource, modal (DoModal) or modeless (Create). The object is found from the HWND
// from WM_INITDIALOG on; DialogProc returns FALSE for what the dialog manager should handle.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : m_templateId(templateId) {}
    ~CDialog() override;

    INT_PTR DoModal(HWND parent);
    HWND Create(HWND parent);
    void EndDialog(INT_PTR result);
    bool IsModal() const { return m_modal; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual BOOL OnCommand(UINT id, UINT code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp);
    // Called once the window is gone and the object detached from it: where a self-owned modeless dialog
    // deletes itself.
    virtual void PostNcDestroy() {}

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WindowProc(UINT, WPARAM, LPARAM) override { return 0; }

    UINT m_templateId;
    bool m_modal = false;
    int m_ownDepth = 0;  // the work scopes open when the dialog opened
};
