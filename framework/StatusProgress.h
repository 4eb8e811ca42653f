#pragma once
#include <windows.h>

#include <string>

class CStatusBar;

// A progress bar in a pane of the frame's status bar, with the work's text in the message pane. Moving the bar
// repaints it, which under Wine costs more than much of the work it reports: the bar moves a few times a
// second, while a change of text and the end always show at once.
class CStatusProgress {
public:
    // The bar covers the fixed pane `pane`; range 0 to 100, step 1.
    bool Create(CStatusBar& statusBar, int pane, UINT id);
    HWND Hwnd() const { return m_bar; }
    // Fits the bar to its pane again; after the status bar was laid out.
    void Place() const;

    // `text` in the message pane and the bar at `percent`; at 100 or more the bar goes back to 0. What waits to
    // be painted is painted first, so the window stays drawn during the work; nothing else is handled.
    void Show(const std::string& text, WPARAM percent);

private:
    static constexpr DWORD kIntervalMs = 100;

    CStatusBar* m_statusBar = nullptr;
    int m_pane = 0;
    HWND m_bar = nullptr;
    DWORD m_lastTick = 0;
};
