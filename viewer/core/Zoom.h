#pragma once
#include <string>
#include <string_view>

// The arithmetic of the Viewer's zoom: how large a page is drawn at a factor, how the factor steps and is
// bounded, how a dragged rectangle becomes a zoom, where to scroll, and the zoom box's text.

inline constexpr float kZoomStep = 1.25f;
inline constexpr float kMinZoom = 0.1f;
inline constexpr float kMaxZoom = 2.0f;

struct ZoomSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const ZoomSize&) const = default;
};

struct ZoomPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ZoomPoint&) const = default;
};

// In page pixels (the view's logical units); corners in any order.
struct ZoomRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The page's device size at `factor`: base size × factor, truncated toward zero on each axis. Any factor is
// accepted; a result beyond the int range is held at its end, and a factor that is not a number gives 0.
ZoomSize ZoomedSize(ZoomSize base, float factor);

// factor × step or factor ÷ step, then held within kMinZoom..kMaxZoom. A step that is not positive leaves the
// factor where it is (bounded all the same).
float ZoomInFactor(float factor, float step = kZoomStep);
float ZoomOutFactor(float factor, float step = kZoomStep);

// Scroll distances for a zoomed size: a page is a tenth of the size, a line a tenth of the page, on each axis.
// An axis with any size scrolls by at least one pixel; an empty one by 0.
struct ScrollSteps {
    ZoomSize page;
    ZoomSize line;
};
ScrollSteps ScrollStepsFor(ZoomSize zoomed);

// The scroll position that brings logical point `centre` to the middle of a `client`-sized window when the
// page of `base` pixels is shown at `factor`, held within 0 .. zoomed size − client size (0 when the page fits).
ZoomPoint CentredScrollPosition(ZoomPoint centre, ZoomSize base, float factor, ZoomSize client);

// What a rectangle dragged with the zoom-in tool does. A rectangle whose larger side is under 10 device pixels
// was meant as a click: one step in at its centre. Otherwise the factor makes the rectangle fill the client area
// (plus one pixel) on its tighter axis, bounded to kMinZoom..kMaxZoom, with the rectangle's centre brought to the
// middle of the window.
struct ZoomToRectPlan {
    bool stepIn = false;
    float factor = 1.0f;  // the factor either way leads to
    ZoomPoint centre;     // logical
};
ZoomToRectPlan PlanZoomToRect(ZoomRect rubber, ZoomSize base, float factor, ZoomSize client);

// The zoom box's text for a factor: the truncated percentage followed by "%" (1.679 shows "167%").
std::string ZoomBoxText(float factor);

// A zoom typed into or chosen from the zoom box (code page 936 text). Walking left to right, double-byte
// characters are passed over, "%" ends the walk and the digits met make the number. Without a digit the zoom
// is 100%; otherwise the number is held within 10..200 and the factor is a hundredth of it.
struct ZoomBoxChoice {
    float factor = 1.0f;
    std::string text;
};
ZoomBoxChoice ParseZoomBoxText(std::string_view text);
