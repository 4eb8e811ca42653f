#pragma once
#include <windows.h>

#include <optional>

#include "framework/ScrollView.h"

// A scroll view showing a page of `width` × `height` pixels at a zoom factor: the page's pixels are the logical
// units, the zoomed size is the device size. Zooming keeps a chosen logical point in the middle of the window.
class CZoomBase : public CScrollView {
public:
    // Sizes the view for a page at `factor` (the stored factor is kept as it is).
    void SetZoomSizes(int width, int height, float factor);
    // By the step, clamped to 10%..200%, around `centre` (logical; the window's centre when none), busy meanwhile.
    void ZoomIn(std::optional<POINT> centre, float step);
    void ZoomOut(std::optional<POINT> centre, float step);
    // Any factor, unclamped.
    void SetZoom(std::optional<POINT> centre, float factor);
    // Fits a logical rectangle into the window, or zooms in by a step when it is smaller than 10 pixels.
    void ZoomToRect(RECT rect);
    float GetZoom() const { return m_factor; }

    POINT ClientToLogical(POINT client) const;
    POINT LogicalToClient(POINT logical) const;

protected:
    void OnPrepareDC(HDC dc) override;
    COLORREF BackgroundColour() const override { return GetSysColor(COLOR_3DLIGHT); }
    SIZE LogicalSize() const { return m_logical; }
    // The frame the view is in: busy while the view works, owner of what it shows.
    HWND MainWindow() const { return GetAncestor(m_hWnd, GA_ROOT); }

private:
    POINT ClientCentre() const;
    // Re-sizes for the stored factor and scrolls the logical point to the window's middle.
    void ApplyZoom(POINT logicalCentre);

    float m_factor = 1.0f;
    SIZE m_logical{1, 1};
};
