#include "framework/Dialog.h"

#include <optional>

#include "framework/HeldRequests.h"
#include "framework/Resources.h"

CDialog::~CDialog() {
    if (m_hWnd && !m_modal && IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        DetachHandle();
        DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal(HWND parent) {
    m_modal = true;
    INT_PTR result;
    {
        // A dialog over a window is a step of that window's work; a program's main dialog is not.
        std::optional<CWorkScope> step;
        if (parent)
            step.emplace();
        m_ownDepth = CWorkScope::Depth();
        result = DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(m_templateId), parent, &CDialog::StaticDialogProc,
                                 reinterpret_cast<LPARAM>(this));
    }
    m_modal = false;
    return result;
}

HWND CDialog::Create(HWND parent) {
    m_modal = false;
    m_ownDepth = CWorkScope::Depth();
    return CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(m_templateId), parent, &CDialog::StaticDialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) {
    if (!m_hWnd)
        return;
    if (m_modal) {
        ::EndDialog(m_hWnd, result);
    } else {
        HWND hwnd = m_hWnd;
        DetachHandle();
        DestroyWindow(hwnd);
    }
}

BOOL CDialog::OnCommand(UINT id, UINT, HWND) {
    switch (id) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

INT_PTR CDialog::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        CWnd* control = FromHandle(dis->hwndItem);
        return control ? control->OnDrawItemReflect(*dis) : FALSE;
    }
    }
    return FALSE;
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CDialog* self = static_cast<CDialog*>(FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        self->AttachHandle(hwnd);
    }
    if (!self)
        return FALSE;
    if (msg == RunHeldRequestsMessage()) {
        RunHeldRequests();
        return TRUE;
    }
    // A close while the dialog's own work runs waits for it; its own modal loop is no such work.
    if (msg == WM_CLOSE && CWorkScope::Depth() > self->m_ownDepth && HoldRequest(hwnd, msg, wp, lp))
        return TRUE;
    INT_PTR result = self->DialogProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        self->DetachHandle();
        self->PostNcDestroy();
    }
    return result;
}
