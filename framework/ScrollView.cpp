#include "framework/ScrollView.h"

#include <algorithm>

#include "framework/Handles.h"
#include "framework/Resources.h"

namespace {
constexpr char kViewClass[] = "MiroloView";
}  // namespace

bool CScrollView::Create(HWND parent, UINT id) {
    if (!RegisterWindowClass(ResourceInstance(), kViewClass, CS_DBLCLKS, nullptr))
        return false;
    return CreateEx(WS_EX_CLIENTEDGE, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 0, 0,
                    parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ResourceInstance()) != nullptr;
}

void CScrollView::SetScrollSizes(SIZE total, SIZE page, SIZE line) {
    m_total = total;
    m_page = page;
    m_line = line;
    UpdateBars();
    ScrollToPosition(m_position);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

namespace {
// Sets a bar only when it would change: under Wine every set repaints the bar at once, which costs more than
// painting the page, and paging between pages of one size changes no bar at all.
void SetBar(HWND hwnd, int bar, LONG total, LONG page, LONG position) {
    const int max = std::max<int>(0, total - 1);
    SCROLLINFO shown{sizeof shown, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (GetScrollInfo(hwnd, bar, &shown) && shown.nMin == 0 && shown.nMax == max &&
        shown.nPage == static_cast<UINT>(page) && shown.nPos == position)
        return;
    SCROLLINFO wanted{sizeof wanted,           SIF_RANGE | SIF_PAGE | SIF_POS, 0, max,
                      static_cast<UINT>(page), static_cast<int>(position),     0};
    SetScrollInfo(hwnd, bar, &wanted, TRUE);
}
}  // namespace

void CScrollView::UpdateBars() {
    if (!m_hWnd)
        return;
    // Twice: showing one bar narrows the client and may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client;
        GetClientRect(m_hWnd, &client);
        SetBar(m_hWnd, SB_HORZ, m_total.cx, client.right, m_position.x);
        SetBar(m_hWnd, SB_VERT, m_total.cy, client.bottom, m_position.y);
    }
}

void CScrollView::ScrollToPosition(POINT position) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const LONG maxX = std::max<LONG>(0, m_total.cx - client.right);
    const LONG maxY = std::max<LONG>(0, m_total.cy - client.bottom);
    position.x = std::clamp<LONG>(position.x, 0, maxX);
    position.y = std::clamp<LONG>(position.y, 0, maxY);
    if (position.x == m_position.x && position.y == m_position.y)
        return;
    const int dx = m_position.x - position.x;
    const int dy = m_position.y - position.y;
    m_position = position;
    // Only the uncovered strip is painted again.
    ScrollWindowEx(m_hWnd, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    SetScrollPos(m_hWnd, SB_HORZ, m_position.x, TRUE);
    SetScrollPos(m_hWnd, SB_VERT, m_position.y, TRUE);
}

void CScrollView::OnPrepareDC(HDC dc) {
    SetViewportOrgEx(dc, -m_position.x, -m_position.y, nullptr);
}

void CScrollView::OnScroll(int bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_hWnd, bar, &info);
    const bool horizontal = bar == SB_HORZ;
    const LONG page = horizontal ? m_page.cx : m_page.cy;
    const LONG line = horizontal ? m_line.cx : m_line.cy;
    LONG pos = horizontal ? m_position.x : m_position.y;
    switch (code) {
    case SB_LINEUP:
        pos -= std::max<LONG>(1, line);
        break;
    case SB_LINEDOWN:
        pos += std::max<LONG>(1, line);
        break;
    case SB_PAGEUP:
        pos -= std::max<LONG>(1, page);
        break;
    case SB_PAGEDOWN:
        pos += std::max<LONG>(1, page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = info.nTrackPos;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = horizontal ? m_total.cx : m_total.cy;
        break;
    default:
        return;
    }
    ScrollToPosition(horizontal ? POINT{pos, m_position.y} : POINT{m_position.x, pos});
}

void CScrollView::Paint() {
    CPaintDc paint(m_hWnd);
    const RECT& dirty = paint.Info().rcPaint;
    const int cx = dirty.right - dirty.left;
    const int cy = dirty.bottom - dirty.top;
    if (cx <= 0 || cy <= 0)
        return;
    // Only the invalid part is drawn, off-screen, and copied in one go.
    CMemoryDc memory(CreateCompatibleDC(paint.Get()));
    CBitmapHandle bitmap(CreateCompatibleBitmap(paint.Get(), cx, cy));
    if (!memory || !bitmap)
        return;
    CSelectObject select(memory.Get(), bitmap.Get());
    CBrushHandle background(CreateSolidBrush(BackgroundColour()));
    RECT all{0, 0, cx, cy};
    FillRect(memory.Get(), &all, background.Get());
    const int saved = SaveDC(memory.Get());
    OnPrepareDC(memory.Get());
    POINT origin;
    GetViewportOrgEx(memory.Get(), &origin);
    SetViewportOrgEx(memory.Get(), origin.x - dirty.left, origin.y - dirty.top, nullptr);
    OnDraw(memory.Get());
    RestoreDC(memory.Get(), saved);
    BitBlt(paint.Get(), dirty.left, dirty.top, cx, cy, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CScrollView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the off-screen paint covers everything
    case WM_HSCROLL:
        OnScroll(SB_HORZ, LOWORD(wp));
        return 0;
    case WM_VSCROLL:
        OnScroll(SB_VERT, LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
        for (int i = 0; i < std::abs(notches) * 3; ++i)
            OnScroll(SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    }
    case WM_SIZE:
        UpdateBars();
        ScrollToPosition(m_position);
        return 0;
    }
    return CWnd::WindowProc(msg, wp, lp);
}
