#include "viewer/ZoomView.h"

#include "framework/Resources.h"
#include "viewer/core/Zoom.h"
#include "viewer/resource.h"

CZoomView::~CZoomView() {
    if (m_zoomInCursor)
        DestroyCursor(m_zoomInCursor);
    if (m_zoomOutCursor)
        DestroyCursor(m_zoomOutCursor);
}

void CZoomView::LoadCursors() {
    m_zoomInCursor = static_cast<HCURSOR>(
        LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(IDC_ZOOMIN_CURSOR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    m_zoomOutCursor = static_cast<HCURSOR>(
        LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(IDC_ZOOMOUT_CURSOR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

void CZoomView::SetToolMode(Tool tool) {
    m_tool = tool;
    SetCursor(ModeCursor());
}

HCURSOR CZoomView::ModeCursor() const {
    switch (m_tool) {
    case Tool::kZoomIn:
        return m_zoomInCursor ? m_zoomInCursor : LoadCursorA(nullptr, IDC_ARROW);
    case Tool::kZoomOut:
        return m_zoomOutCursor ? m_zoomOutCursor : LoadCursorA(nullptr, IDC_ARROW);
    case Tool::kNone:
        break;
    }
    return LoadCursorA(nullptr, IDC_ARROW);
}

void PaintOutline(HDC dc, const RECT& logical) {
    const int saved = SaveDC(dc);
    HPEN pen = CreatePen(PS_DASH, 0, RGB(0, 0, 0));
    SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetROP2(dc, R2_NOTXORPEN);
    SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, logical.left, logical.top, logical.right, logical.bottom);
    RestoreDC(dc, saved);
    DeleteObject(pen);
}

void CZoomView::DrawOutline(const RECT& logical) {
    HDC dc = GetDC(m_hWnd);
    const int saved = SaveDC(dc);
    OnPrepareDC(dc);
    PaintOutline(dc, logical);
    RestoreDC(dc, saved);
    ReleaseDC(m_hWnd, dc);
}

void CZoomView::ToolButtonDown(POINT client) {
    if (m_tool == Tool::kZoomIn) {
        SetCapture(m_hWnd);
        m_capturing = true;
        const POINT p = ClientToLogical(client);
        m_rubber = {p.x, p.y, p.x, p.y};
        SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    } else if (m_tool == Tool::kZoomOut) {
        ZoomOut(ClientToLogical(client), kZoomStep);
        OnZoomedByMouse();
    }
}

void CZoomView::ToolMouseMove(POINT client) {
    if (!m_capturing)
        return;
    DrawOutline(m_rubber);
    const POINT p = ClientToLogical(client);
    m_rubber.right = p.x;
    m_rubber.bottom = p.y;
    DrawOutline(m_rubber);
}

void CZoomView::ToolButtonUp(POINT) {
    if (!m_capturing)
        return;
    m_capturing = false;
    ReleaseCapture();
    SetCursor(ModeCursor());
    DrawOutline(m_rubber);
    ZoomToRect(m_rubber);
    OnZoomedByMouse();
}

void CZoomView::ToolRightButton() {
    if (m_capturing) {
        m_capturing = false;
        ReleaseCapture();
        DrawOutline(m_rubber);
        return;
    }
    SetToolMode(Tool::kNone);
}
