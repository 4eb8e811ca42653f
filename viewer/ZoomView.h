#pragma once
#include "viewer/ZoomBase.h"

// A dashed black outline of a logical rectangle, drawn so that drawing it again removes it; the drawing state of
// `dc` is as it was afterwards.
void PaintOutline(HDC dc, const RECT& logical);

// The zoom view's mouse tools: with the zoom-in tool a dragged rectangle is zoomed to fill the window (a click
// zooms in a step), with the zoom-out tool a click zooms out a step. A right click abandons a drag or puts the
// tool away.
class CZoomView : public CZoomBase {
public:
    enum class Tool { kNone, kZoomIn, kZoomOut };

    ~CZoomView() override;
    Tool ToolMode() const { return m_tool; }
    void SetToolMode(Tool tool);

protected:
    // The cursor over the client area for the current mode.
    virtual HCURSOR ModeCursor() const;
    // Called after a mouse zoom; the Viewer shows the new factor in its zoom box.
    virtual void OnZoomedByMouse() {}

    // The view's own mouse handling runs first; these are the tools' part.
    void ToolButtonDown(POINT client);
    void ToolMouseMove(POINT client);
    void ToolButtonUp(POINT client);
    void ToolRightButton();

    // The outline on the window now, so that drawing it again removes it.
    void DrawOutline(const RECT& logical);

    void LoadCursors();

private:
    Tool m_tool = Tool::kNone;
    bool m_capturing = false;
    RECT m_rubber{};
    HCURSOR m_zoomInCursor = nullptr;
    HCURSOR m_zoomOutCursor = nullptr;
};
