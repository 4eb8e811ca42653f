#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The frame's bottom bar: a stretching message pane, further panes of fixed width, and the CAP, NUM and SCRL
// key indicators at the right, which show their text while the key's toggle is on.
class CStatusBar {
public:
    // `fixedWidths` are the panes after the message pane and before the indicators.
    bool Create(HWND frame, const std::vector<int>& fixedWidths);
    HWND Hwnd() const { return m_hwnd; }

    // Replaces a pane's text only when it differs, so repeated updates do not flicker.
    void SetPaneText(int pane, const std::string& text);
    const std::string& PaneText(int pane) const { return m_texts[static_cast<size_t>(pane)]; }
    RECT PaneRect(int pane) const;
    int IndicatorPane(int n) const { return static_cast<int>(m_fixed.size()) + 1 + n; }

    // Lays the panes out for the frame's new width (the bar sizes itself to the frame).
    void Resize();
    void UpdateIndicators();

private:
    HWND m_hwnd = nullptr;
    std::vector<int> m_fixed;
    std::vector<std::string> m_texts;
};
