#pragma once
#include <windows.h>

#include "framework/View.h"

// A view larger than its window: scroll bars over a total size in device pixels. Painting goes through an
// off-screen bitmap of the window's size, so scrolling and redrawing never show a half-drawn picture.
class CScrollView : public CView {
public:
    bool Create(HWND parent, UINT id);

    // Total size, and the distance of a page and of a line step, in device pixels.
    void SetScrollSizes(SIZE total, SIZE page, SIZE line);
    SIZE TotalSize() const { return m_total; }
    POINT ScrollPosition() const { return m_position; }
    // Clamped to the scroll range; the window content moves with it.
    void ScrollToPosition(POINT position);

protected:
    // Maps the surface for drawing: the scroll position becomes the window's origin.
    virtual void OnPrepareDC(HDC dc);
    virtual void OnDraw(HDC dc) = 0;
    virtual COLORREF BackgroundColour() const { return GetSysColor(COLOR_WINDOW); }

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void UpdateBars();
    void OnScroll(int bar, int code);
    void Paint();

    SIZE m_total{0, 0};
    SIZE m_page{0, 0};
    SIZE m_line{0, 0};
    POINT m_position{0, 0};
};
