#include "framework/Window.h"

namespace {
const char kObjectProp[] = "Mirolo.CWnd";
}

CWnd::~CWnd() {
    if (m_prevProc)
        UnsubclassWindow();
    else if (m_hWnd)
        DetachHandle();
}

void CWnd::AttachHandle(HWND hwnd) {
    m_hWnd = hwnd;
    SetPropA(hwnd, kObjectProp, this);
}

void CWnd::DetachHandle() {
    if (m_hWnd && IsWindow(m_hWnd))
        RemovePropA(m_hWnd, kObjectProp);
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandle(hwnd))
        return false;
    AttachHandle(hwnd);
    m_prevProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return true;
}

void CWnd::UnsubclassWindow() {
    if (m_hWnd && m_prevProc && IsWindow(m_hWnd))
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
    m_prevProc = nullptr;
    DetachHandle();
}

HWND CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int cx,
                    int cy, HWND parent, HMENU menu, HINSTANCE instance) {
    return CreateWindowExA(exStyle, className, title, style, x, y, cx, cy, parent, menu, instance, this);
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWnd* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (self)
            self->AttachHandle(hwnd);
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    LRESULT result = self->WindowProc(msg, wp, lp);
    if (msg == WM_NCDESTROY)
        self->DetachHandle();
    return result;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWnd* self = FromHandle(hwnd);
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        WNDPROC prev = self->m_prevProc;
        self->UnsubclassWindow();
        return CallWindowProcA(prev, hwnd, msg, wp, lp);
    }
    return self->WindowProc(msg, wp, lp);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    return Default(msg, wp, lp);
}

LRESULT CWnd::Default(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_prevProc)
        return CallWindowProcA(m_prevProc, m_hWnd, msg, wp, lp);
    return DefWindowProcA(m_hWnd, msg, wp, lp);
}
