#pragma once
#include <string>

#include "framework/FrameWnd.h"
#include "framework/StatusProgress.h"
#include "viewer/ViewerScanner.h"
#include "viewer/ZoomBox.h"

// The Viewer's main window: the toolbar with the zoom box, the status bar with its progress bar, the scanner, and
// the messages that the zoom box, the image library and other Viewer starts send it.
class CMainFrame : public CFrameWnd {
public:
    CMainFrame() : m_scanner(*this) {}

    CZoomBox& ZoomBox() { return m_zoomBox; }
    CViewerScanner& Scanner() { return m_scanner; }
    HWND ProgressBar() const { return m_progress.Hwnd(); }

    // Status text and progress bar; a percentage of 100 or more empties the bar.
    void ShowProgress(UINT textId, WPARAM percent);

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    bool OnCreateBars() override;
    void RecalcLayout() override;
    bool OnFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnClose() override;
    void OnDropFiles(HDROP drop) override;
    void OnMenuPopup(HMENU menu) override;
    void OnToolBarDocked() override;

private:
    void OnZoomBoxChosen(WPARAM index, LPARAM fromList);

    CZoomBox m_zoomBox;
    CStatusProgress m_progress;
    CViewerScanner m_scanner;
    std::string m_recentPlaceholder;
};
