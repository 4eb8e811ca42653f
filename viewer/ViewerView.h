#pragma once
#include <string>

#include "framework/Handles.h"

#include "viewer/ZoomView.h"

class CViewerDoc;

// The Viewer's view: the current page at its zoom, the rubber-band selection and its copy to the clipboard, and
// the page commands (paging, rotation, smoothing, undo), after which it lays itself out for the new image.
class CViewerView : public CZoomView {
public:
    bool Create(HWND parent, UINT id);
    CViewerDoc& Doc() const;

    void OnInitialUpdate();
    void OnUpdate(CView* sender) override;
    // A page from the scanner, added at the end; the first one is shown at once, before more arrive.
    void AddScannedPage(CGlobalBlock image);

    bool SelectionMode() const { return !m_selectionOff; }
    const RECT& Selection() const { return m_selection; }

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    void OnDraw(HDC dc) override;
    HCURSOR ModeCursor() const override;
    void OnZoomedByMouse() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // After the current image changed: sizes for it at the current factor, redrawn, palette realised.
    void ReLayOut();
    void Normal();
    void ShowZoomText(const std::string& text);
    void RealisePalette(bool background);

    void ToggleSelectionMode();
    void SelectAll();
    void SelectNone();
    void Copy();
    HGLOBAL SelectedPixels() const;

    void Print();
    // Steps page by page, as the user would, so each page is decoded on the way.
    void GoToPage(uint32_t number);
    void DrawForPrinter(HDC dc, const RECT& printable) const;

    void OnLeftDown(POINT client);
    void OnMouseMove(POINT client);
    void OnLeftUp(POINT client);
    RECT NormalisedSelection() const;

    bool m_selectAll = false;
    RECT m_selection{};
    bool m_selectionOff = true;
    bool m_selecting = false;
    HCURSOR m_selectCursor = nullptr;
};
