#include "viewer/ZoomBase.h"

#include "framework/BusyState.h"
#include "viewer/core/Zoom.h"

namespace {
ZoomSize ToZoomSize(SIZE size) {
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}
}  // namespace

void CZoomBase::SetZoomSizes(int width, int height, float factor) {
    m_logical = {width > 0 ? width : 1, height > 0 ? height : 1};
    const ZoomSize zoomed = ZoomedSize(ToZoomSize(m_logical), factor);
    const ScrollSteps steps = ScrollStepsFor(zoomed);
    SetScrollSizes({zoomed.cx, zoomed.cy}, {steps.page.cx, steps.page.cy}, {steps.line.cx, steps.line.cy});
}

POINT CZoomBase::ClientCentre() const {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return ClientToLogical({client.right / 2, client.bottom / 2});
}

POINT CZoomBase::ClientToLogical(POINT client) const {
    const SIZE total = TotalSize();
    const POINT scroll = ScrollPosition();
    if (total.cx <= 0 || total.cy <= 0)
        return {0, 0};
    return {static_cast<LONG>(MulDiv(client.x + scroll.x, m_logical.cx, total.cx)),
            static_cast<LONG>(MulDiv(client.y + scroll.y, m_logical.cy, total.cy))};
}

POINT CZoomBase::LogicalToClient(POINT logical) const {
    const SIZE total = TotalSize();
    const POINT scroll = ScrollPosition();
    return {static_cast<LONG>(MulDiv(logical.x, total.cx, m_logical.cx)) - scroll.x,
            static_cast<LONG>(MulDiv(logical.y, total.cy, m_logical.cy)) - scroll.y};
}

void CZoomBase::ApplyZoom(POINT logicalCentre) {
    SetZoomSizes(m_logical.cx, m_logical.cy, m_factor);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const ZoomPoint position = CentredScrollPosition({logicalCentre.x, logicalCentre.y}, ToZoomSize(m_logical),
                                                     m_factor, {client.right, client.bottom});
    ScrollToPosition({position.x, position.y});
}

void CZoomBase::ZoomIn(std::optional<POINT> centre, float step) {
    CBusyState busy(MainWindow());
    const POINT point = centre ? *centre : ClientCentre();
    m_factor = ZoomInFactor(m_factor, step);
    ApplyZoom(point);
}

void CZoomBase::ZoomOut(std::optional<POINT> centre, float step) {
    CBusyState busy(MainWindow());
    const POINT point = centre ? *centre : ClientCentre();
    m_factor = ZoomOutFactor(m_factor, step);
    ApplyZoom(point);
}

void CZoomBase::SetZoom(std::optional<POINT> centre, float factor) {
    const POINT point = centre ? *centre : ClientCentre();
    m_factor = factor;
    ApplyZoom(point);
}

void CZoomBase::ZoomToRect(RECT rect) {
    CBusyState busy(MainWindow());
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const ZoomToRectPlan plan = PlanZoomToRect({rect.left, rect.top, rect.right, rect.bottom}, ToZoomSize(m_logical),
                                               m_factor, {client.right, client.bottom});
    const POINT centre{plan.centre.x, plan.centre.y};
    if (plan.stepIn) {
        ZoomIn(centre, kZoomStep);
        return;
    }
    m_factor = plan.factor;
    ApplyZoom(centre);
}

void CZoomBase::OnPrepareDC(HDC dc) {
    const SIZE total = TotalSize();
    const POINT scroll = ScrollPosition();
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, m_logical.cx, m_logical.cy, nullptr);
    SetViewportExtEx(dc, total.cx > 0 ? total.cx : 1, total.cy > 0 ? total.cy : 1, nullptr);
    SetViewportOrgEx(dc, -scroll.x, -scroll.y, nullptr);
}
