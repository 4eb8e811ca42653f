#include "framework/StatusBar.h"

#include <commctrl.h>

#include "framework/Resources.h"

namespace {
struct Indicator {
    int key;
    const char* text;
};
const Indicator kIndicators[] = {{VK_CAPITAL, "CAP"}, {VK_NUMLOCK, "NUM"}, {VK_SCROLL, "SCRL"}};

int TextWidth(HWND bar, const char* text) {
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return size.cx;
}
}  // namespace

bool CStatusBar::Create(HWND frame, const std::vector<int>& fixedWidths) {
    m_fixed = fixedWidths;
    m_texts.assign(m_fixed.size() + 1 + std::size(kIndicators), std::string());
    m_hwnd = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                             nullptr, ResourceInstance(), nullptr);
    if (!m_hwnd)
        return false;
    Resize();
    return true;
}

void CStatusBar::Resize() {
    if (!m_hwnd)
        return;
    SendMessageA(m_hwnd, WM_SIZE, 0, 0);
    RECT client;
    GetClientRect(m_hwnd, &client);
    // Widths of the panes after the message pane: the fixed ones, then the indicators.
    std::vector<int> widths(m_fixed);
    for (const Indicator& indicator : kIndicators)
        widths.push_back(TextWidth(m_hwnd, indicator.text) + 12);
    // SB_SETPARTS takes right edges; the last pane runs under the size grip.
    std::vector<int> edges(widths.size() + 1);
    edges.back() = -1;
    int right = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (size_t i = widths.size(); i > 0; --i) {
        right -= widths[i - 1];
        edges[i - 1] = right;
    }
    SendMessageA(m_hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void CStatusBar::SetPaneText(int pane, const std::string& text) {
    if (pane < 0 || static_cast<size_t>(pane) >= m_texts.size() || m_texts[static_cast<size_t>(pane)] == text)
        return;
    m_texts[static_cast<size_t>(pane)] = text;
    SendMessageA(m_hwnd, SB_SETTEXTA, pane, reinterpret_cast<LPARAM>(text.c_str()));
}

RECT CStatusBar::PaneRect(int pane) const {
    RECT r{};
    SendMessageA(m_hwnd, SB_GETRECT, pane, reinterpret_cast<LPARAM>(&r));
    return r;
}

void CStatusBar::UpdateIndicators() {
    for (size_t i = 0; i < std::size(kIndicators); ++i) {
        const bool on = (GetKeyState(kIndicators[i].key) & 1) != 0;
        SetPaneText(IndicatorPane(static_cast<int>(i)), on ? kIndicators[i].text : "");
    }
}
