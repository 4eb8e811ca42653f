#include "common/ListCtrlEx.h"

#include <algorithm>

#include "common/core/ShortenText.h"
#include "framework/Handles.h"

namespace {
// Cell texts are fetched into buffers of this size; the list cuts longer texts to fit.
constexpr int kCellTextSize = 260;
constexpr int kLabelMargin = 4;
constexpr int kLabelInset = 2;
constexpr int kSubItemMargin = 12;
constexpr int kSubItemInset = 6;
constexpr int kSmallIconSize = 16;
constexpr UINT kCellFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;

ShortText Shorten(HDC dc, std::string_view text, int available, int margin) {
    return ShortenText(text, available, margin, [dc](std::string_view run) {
        SIZE size{};
        GetTextExtentPoint32A(dc, run.data(), static_cast<int>(run.size()), &size);
        return static_cast<int>(size.cx);
    });
}

void DrawCellText(HDC dc, const std::string& text, RECT rect, int inset, UINT align) {
    rect.left += inset;
    rect.right -= inset;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, kCellFormat | align);
}
}  // namespace

ClistCtrlEX::ClistCtrlEX() : m_textBkColor(GetSysColor(COLOR_WINDOW)), m_bkColor(GetSysColor(COLOR_WINDOW)) {}

bool ClistCtrlEX::SetFullRowSel(bool on) {
    // Only one window at a time can hold the update lock: release it only when we got it.
    const bool locked = LockWindowUpdate(m_hWnd) != FALSE;
    m_fullRowSel = on;
    const DWORD style = GetStyle();
    const DWORD wanted = on ? (style | LVS_OWNERDRAWFIXED) : (style & ~DWORD(LVS_OWNERDRAWFIXED));
    const bool changed = wanted != style;
    if (changed) {
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(wanted));
        if (IsReportView())
            InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    if (locked)
        LockWindowUpdate(nullptr);
    return changed;
}

CFontHandle ClistCtrlEX::RowFont(bool bold) const {
    LOGFONTA face{};
    HFONT own = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (!GetObjectA(own ? own : GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face))
        return {};
    face.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return CFontHandle(CreateFontIndirectA(&face));
}

BOOL ClistCtrlEX::OnDrawItemReflect(const DRAWITEMSTRUCT& dis) {
    const int row = static_cast<int>(dis.itemID);
    char text[kCellTextSize] = {};
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE | LVIF_PARAM;
    item.iItem = row;
    item.stateMask = 0xFFFF;
    item.pszText = text;
    item.cchTextMax = kCellTextSize;
    if (!GetItem(item))
        return FALSE;

    HDC dc = dis.hDC;
    const bool selected = IsSelectedLook(item.state);
    const RowRects rects = GetRowRects(row);
    COLORREF oldText = 0;
    COLORREF oldBk = 0;
    if (selected) {
        oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        oldBk = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        FillRect(dc, &rects.highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        CBrushHandle background(CreateSolidBrush(m_textBkColor));
        FillRect(dc, &rects.highlight, background.Get());
    }
    DrawImages(dc, item, dis.rcItem, rects.icon, selected);

    RECT label = rects.label;
    label.right -= m_stateImageWidth;
    // Measured in the font the list selected; a per-row font would be chosen only after this.
    const ShortText shown = Shorten(dc, text, label.right - label.left, kLabelMargin);
    CFontHandle rowFont;
    if (m_needsAttention && !m_emphasisSuspended)
        rowFont = RowFont(m_needsAttention(row, item.lParam));
    if (rowFont)
        SelectObject(dc, rowFont.Get());
    DrawCellText(dc, shown.text, label, kLabelInset, DT_LEFT);
    // The reported label already starts after the state image and ends at the first column's edge, so the
    // sub-items start there, under their headers.
    DrawSubItems(dc, row, dis.rcItem, rects.label.right);
    if (rowFont)
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));

    if ((item.state & LVIS_FOCUSED) && GetFocus() == m_hWnd)
        DrawFocusRect(dc, &rects.highlight);
    if (selected) {
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBk);
    }
    return TRUE;
}

ClistCtrlEX::RowRects ClistCtrlEX::GetRowRects(int row) const {
    RowRects rects{};
    GetItemRect(row, rects.bounds, LVIR_BOUNDS);
    GetItemRect(row, rects.label, LVIR_LABEL);
    GetItemRect(row, rects.icon, LVIR_ICON);
    rects.highlight = {rects.label.left, rects.bounds.top, rects.bounds.right, rects.bounds.bottom};
    rects.highlight.right = std::max<LONG>(rects.highlight.right, ClientWidth());
    return rects;
}

int ClistCtrlEX::ClientWidth() const {
    if (m_clientWidth > 0)
        return m_clientWidth;
    // A list taken from a dialog template got its size before we subclassed it; no WM_SIZE has told us yet.
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return client.right;
}

bool ClistCtrlEX::IsSelectedLook(UINT state) const {
    const bool showsSelection = GetFocus() == m_hWnd || (GetStyle() & LVS_SHOWSELALWAYS);
    return (showsSelection && (state & LVIS_SELECTED)) || (state & LVIS_DROPHILITED);
}

void ClistCtrlEX::DrawImages(HDC dc, const LVITEMA& item, const RECT& row, const RECT& icon, bool selected) const {
    const UINT stateImage = (item.state & LVIS_STATEIMAGEMASK) >> 12;
    HIMAGELIST states = GetImageList(LVSIL_STATE);
    if (stateImage && states)
        ImageList_Draw(states, static_cast<int>(stateImage) - 1, dc, row.left, row.top, ILD_TRANSPARENT);

    HIMAGELIST icons = GetImageList(LVSIL_SMALL);
    if (!icons || row.right - row.left <= 1)
        return;
    UINT style = ILD_TRANSPARENT;
    COLORREF blend = m_bkColor;
    if (item.state & LVIS_CUT) {
        style |= ILD_BLEND50;
    } else if (selected) {
        style |= ILD_BLEND50;
        blend = GetSysColor(COLOR_HIGHLIGHT);
    }
    style |= item.state & LVIS_OVERLAYMASK;
    ImageList_DrawEx(icons, item.iImage, dc, icon.left, icon.top, kSmallIconSize, kSmallIconSize, m_bkColor, blend,
                     style);
}

void ClistCtrlEX::DrawSubItems(HDC dc, int row, const RECT& rowRect, int left) const {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    RECT cell{left, rowRect.top, left, rowRect.bottom};
    for (int index = 1; GetColumn(index, column); ++index) {
        cell.left = cell.right;
        cell.right += column.cx;
        char text[kCellTextSize] = {};
        GetItemText(row, index, text, kCellTextSize);
        if (!text[0])
            continue;
        const ShortText shown = Shorten(dc, text, column.cx, kSubItemMargin);
        UINT align = DT_LEFT;
        // A shortened text keeps its start in view, whatever the column's alignment.
        if (!shown.shortened && (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
            align = DT_RIGHT;
        else if (!shown.shortened && (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
            align = DT_CENTER;
        DrawCellText(dc, shown.text, cell, kSubItemInset, align);
    }
}

LRESULT ClistCtrlEX::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        m_clientWidth = LOWORD(lp);
        break;
    case LVM_SETIMAGELIST:
        if (wp == LVSIL_STATE)
            OnSetStateImageList(reinterpret_cast<HIMAGELIST>(lp));
        break;
    case LVM_SETTEXTBKCOLOR:
        m_textBkColor = static_cast<COLORREF>(lp);
        break;
    case LVM_SETBKCOLOR:
        m_bkColor = static_cast<COLORREF>(lp);
        break;
    case WM_PAINT:
        if (!wp)
            ExtendPaintToClientWidth();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return OnFocusChange(msg, wp, lp);
    }
    return CListCtrl::WindowProc(msg, wp, lp);
}

void ClistCtrlEX::OnSetStateImageList(HIMAGELIST list) {
    int cx = 0;
    int cy = 0;
    m_stateImageWidth = (list && ImageList_GetIconSize(list, &cx, &cy)) ? cx : 0;
}

// The standard painting covers the columns only; the highlight right of the last column must be repainted too.
// The strip starts a pixel inside the rows so that the list still asks for them to be drawn.
void ClistCtrlEX::ExtendPaintToClientWidth() {
    if (!m_fullRowSel || !IsReportView())
        return;
    const int clientWidth = ClientWidth();
    RECT bounds;
    RECT update;
    if (!GetItemRect(0, bounds, LVIR_BOUNDS) || bounds.right >= clientWidth || !GetUpdateRect(m_hWnd, &update, FALSE))
        return;
    update.left = std::min<LONG>(bounds.right - 1, update.left);
    update.right = clientWidth;
    InvalidateRect(m_hWnd, &update, FALSE);
}

LRESULT ClistCtrlEX::OnFocusChange(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = Default(msg, wp, lp);
    // Focus passing to or from our own label editor leaves the selection as it is shown.
    HWND other = reinterpret_cast<HWND>(wp);
    if (other && IsChild(m_hWnd, other))
        return result;
    if (m_fullRowSel && IsReportView())
        RepaintSelectedRows();
    return result;
}

void ClistCtrlEX::RepaintSelectedRows() {
    const int focused = GetNextItem(-1, LVNI_FOCUSED);
    if (focused != -1)
        InvalidateRow(focused);
    if (!(GetStyle() & LVS_SHOWSELALWAYS)) {
        for (int row = GetNextItem(-1, LVNI_SELECTED); row != -1; row = GetNextItem(row, LVNI_SELECTED))
            InvalidateRow(row);
    }
    UpdateWindow(m_hWnd);
}

void ClistCtrlEX::InvalidateRow(int row) {
    RECT bounds;
    RECT label;
    if (!GetItemRect(row, bounds, LVIR_BOUNDS) || !GetItemRect(row, label, LVIR_LABEL))
        return;
    bounds.left = label.left;
    InvalidateRect(m_hWnd, &bounds, FALSE);
}
