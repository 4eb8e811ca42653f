#include "framework/Window.h"

#include <unordered_map>

#include "framework/HeldRequests.h"

namespace {
// Handle to object, kept in the process: every message looks its window up here, and a window property would
// cost a round trip to the window server under Wine. The programs' windows all live on one thread.
std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}
}  // namespace

CWnd::~CWnd() {
    if (m_prevProc)
        UnsubclassWindow();
    else if (m_hWnd)
        DetachHandle();
}

void CWnd::AttachHandle(HWND hwnd) {
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
}

void CWnd::DetachHandle() {
    if (m_hWnd) {
        auto found = HandleMap().find(m_hWnd);
        if (found != HandleMap().end() && found->second == this)
            HandleMap().erase(found);
    }
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    auto found = HandleMap().find(hwnd);
    return found == HandleMap().end() ? nullptr : found->second;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    return Subclass(hwnd, false);
}

bool CWnd::SubclassWindowUnicode(HWND hwnd) {
    return Subclass(hwnd, true);
}

bool CWnd::Subclass(HWND hwnd, bool unicode) {
    if (!hwnd || m_hWnd || FromHandle(hwnd))
        return false;
    AttachHandle(hwnd);
    m_unicode = unicode;
    m_prevProc = unicode ? reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                               hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProcUnicode)))
                         : reinterpret_cast<WNDPROC>(
                               SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return true;
}

void CWnd::UnsubclassWindow() {
    if (m_hWnd && m_prevProc && IsWindow(m_hWnd)) {
        if (m_unicode)
            SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
        else
            SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
    }
    m_prevProc = nullptr;
    DetachHandle();
}

HWND CWnd::CreateEx(DWORD exStyle,
                    const char* className,
                    const char* title,
                    DWORD style,
                    int x,
                    int y,
                    int cx,
                    int cy,
                    HWND parent,
                    HMENU menu,
                    HINSTANCE instance) {
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
    if (msg == RunHeldRequestsMessage()) {
        RunHeldRequests();
        return 0;
    }
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

LRESULT CALLBACK CWnd::SubclassProcUnicode(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWnd* self = FromHandle(hwnd);
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        WNDPROC prev = self->m_prevProc;
        self->UnsubclassWindow();
        return CallWindowProcW(prev, hwnd, msg, wp, lp);
    }
    return self->WindowProc(msg, wp, lp);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    return Default(msg, wp, lp);
}

LRESULT CWnd::Default(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_prevProc && m_unicode)
        return CallWindowProcW(m_prevProc, m_hWnd, msg, wp, lp);
    if (m_prevProc)
        return CallWindowProcA(m_prevProc, m_hWnd, msg, wp, lp);
    return DefWindowProcA(m_hWnd, msg, wp, lp);
}

bool RegisterWindowClass(HINSTANCE instance, const char* name, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, name, &wc))
        return true;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}
