#pragma once
#include <windows.h>

#include <functional>

#include "framework/Handles.h"
#include "framework/ListCtrl.h"

// The suite's report list with full-row selection. The standard report view highlights only the first column;
// this one draws each row itself, so the highlight spans every column up to the control's right edge, long
// cell texts end in "..." and sub-item columns keep their alignment. Subclass the dialog's list, then turn
// full-row select on; the owning dialog reflects WM_DRAWITEM to it.
class ClistCtrlEX : public CListCtrl {
public:
    ClistCtrlEX();

    // Turns owner drawing with the full-row highlight on or off; true when the control's style changed.
    bool SetFullRowSel(bool on);
    bool GetFullRowSel() const { return m_fullRowSel; }

    // Rows that need the user's attention are drawn bold, the others in normal weight: `needsAttention` is
    // asked with the row and its item data. Suspended while the owner frees the rows' data.
    using AttentionRule = std::function<bool(int row, LPARAM data)>;
    void SetAttentionRule(AttentionRule needsAttention) { m_needsAttention = std::move(needsAttention); }
    void SuspendEmphasis(bool suspended) { m_emphasisSuspended = suspended; }

    BOOL OnDrawItemReflect(const DRAWITEMSTRUCT& dis) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct RowRects {
        RECT bounds;
        RECT label;
        RECT icon;
        RECT highlight;
    };

    RowRects GetRowRects(int row) const;
    // The highlight always runs to the client width, past the last column.
    int ClientWidth() const;
    bool IsSelectedLook(UINT state) const;
    void DrawImages(HDC dc, const LVITEMA& item, const RECT& row, const RECT& icon, bool selected) const;
    void DrawSubItems(HDC dc, int row, const RECT& rowRect, int left) const;

    void OnSetStateImageList(HIMAGELIST list);
    void ExtendPaintToClientWidth();
    LRESULT OnFocusChange(UINT msg, WPARAM wp, LPARAM lp);
    void RepaintSelectedRows();
    void InvalidateRow(int row);

    CFontHandle RowFont(bool bold) const;

    AttentionRule m_needsAttention;
    bool m_emphasisSuspended = false;
    bool m_fullRowSel = false;
    int m_clientWidth = 0;
    int m_stateImageWidth = 0;
    COLORREF m_textBkColor;
    COLORREF m_bkColor;
};
