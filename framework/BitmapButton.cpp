#include "framework/BitmapButton.h"

#include <string>

#include "framework/Resources.h"

namespace {
// The faces are drawn on the classic grey; mapping the greys to the system's 3-D colours makes them match
// whatever face colour the dialogs have.
HBITMAP LoadNamedBitmap(const std::string& name) {
    return static_cast<HBITMAP>(LoadImageA(ResourceInstance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}
}  // namespace

bool CBitmapButton::AutoLoad(UINT id, HWND parent) {
    if (!SubclassDlgItem(id, parent))
        return false;
    char caption[64] = {};
    GetWindowTextA(m_hWnd, caption, sizeof caption);
    if (!LoadBitmaps(caption))
        return false;
    SizeToContent();
    return true;
}

bool CBitmapButton::LoadBitmaps(const std::string& baseName) {
    m_up.Reset(LoadNamedBitmap(baseName + "U"));
    m_down.Reset(LoadNamedBitmap(baseName + "D"));
    m_focus.Reset(LoadNamedBitmap(baseName + "F"));
    m_disabled.Reset(LoadNamedBitmap(baseName + "X"));
    return static_cast<bool>(m_up);
}

void CBitmapButton::SizeToContent() {
    BITMAP bm{};
    if (!m_up || !GetObjectA(m_up.Get(), sizeof bm, &bm))
        return;
    SetWindowPos(m_hWnd, nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CBitmapButton::OnDrawItemReflect(const DRAWITEMSTRUCT& dis) {
    HBITMAP bitmap = m_up.Get();
    if ((dis.itemState & ODS_SELECTED) && m_down)
        bitmap = m_down.Get();
    else if ((dis.itemState & ODS_FOCUS) && m_focus)
        bitmap = m_focus.Get();
    else if ((dis.itemState & ODS_DISABLED) && m_disabled)
        bitmap = m_disabled.Get();
    if (!bitmap)
        return FALSE;
    CMemoryDc memory(CreateCompatibleDC(dis.hDC));
    if (!memory)
        return FALSE;
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    // The button may be laid out wider than its bitmap: centre the picture on the button face.
    const RECT& r = dis.rcItem;
    FillRect(dis.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    int x = r.left + ((r.right - r.left) - bm.bmWidth) / 2;
    int y = r.top + ((r.bottom - r.top) - bm.bmHeight) / 2;
    CSelectObject select(memory.Get(), bitmap);
    BitBlt(dis.hDC, x, y, bm.bmWidth, bm.bmHeight, memory.Get(), 0, 0, SRCCOPY);
    return TRUE;
}

LRESULT CBitmapButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    // An owner-drawn button reports a quick second press as a double click, which nobody handles: as a press it
    // is a click like the first.
    if (msg == WM_LBUTTONDBLCLK)
        msg = WM_LBUTTONDOWN;
    return CWnd::WindowProc(msg, wp, lp);
}
