#pragma once
#include "common/core/LogRecord.h"
#include "framework/FrameWnd.h"
#include "framework/Handles.h"
#include "framework/StatusProgress.h"

// The log viewer's main window: no menu bar; the toolbar with the list selector, the status bar with its
// progress bar, and the view with the shown log.
class CMainFrame : public CFrameWnd {
public:
    HWND ListSelector() const { return m_selector; }

    // Follows the selector once its drop-down has closed: a new choice switches the lists. Called while idle.
    void PollListSelector();

protected:
    bool OnCreateBars() override;
    void RecalcLayout() override;
    bool IsRequest(UINT msg) const override;
    bool OnFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnClose() override;
    void OnToolBarDocked() override;
    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    bool CreateListSelector();
    void ShowList(LogKind kind);
    void ShowProgress(WPARAM percent, LPARAM phase);

    HWND m_selector = nullptr;
    CFontHandle m_selectorFont;
    CStatusProgress m_progress;
};
