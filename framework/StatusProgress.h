#pragma once
#include <windows.h>

#include <optional>
#include <string>

class CStatusBar;

// A progress bar in a pane of the frame's status bar, with the work's text in the message pane. Painting them
// under Wine costs more than much of the work they report (a page decodes in less time than two repaints of
// the status bar take): work shows its progress once it has lasted a tenth of a second, the bar then moves a few
// times a second, and the end always shows at once.
class CStatusProgress {
public:
    // The bar covers the fixed pane `pane`; range 0 to 100, step 1.
    bool Create(CStatusBar& statusBar, int pane, UINT id);
    HWND Hwnd() const { return m_bar; }
    // Fits the bar to its pane again; after the status bar was laid out.
    void Place() const;

    // `text` in the message pane and the bar at `percent`; at 100 or more the work has ended and the bar goes
    // back to 0. What waits to be painted is painted first, so the window stays drawn during the work; nothing
    // else is handled.
    void Show(const std::string& text, WPARAM percent);

private:
    static constexpr DWORD kIntervalMs = 100;

    void SetText(const std::string& text);

    CStatusBar* m_statusBar = nullptr;
    int m_pane = 0;
    HWND m_bar = nullptr;
    DWORD m_lastTick = 0;
    std::optional<DWORD> m_workStart;  // the first report of the work under way
    bool m_barMoved = false;
};
