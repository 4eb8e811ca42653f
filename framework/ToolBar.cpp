#include "framework/ToolBar.h"

#include <commctrl.h>

#include "framework/Resources.h"

bool CToolBar::Create(HWND frame, UINT bitmapId, int imageWidth, int imageHeight, const std::vector<Slot>& slots) {
    m_slots = slots;
    m_hwnd = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                 CCS_TOP | CCS_NODIVIDER,
                             0, 0, 0, 0, frame, nullptr, ResourceInstance(), nullptr);
    if (!m_hwnd)
        return false;
    SendMessageA(m_hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(m_hwnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth, imageHeight));
    // The strip is drawn on the classic grey; the system's 3-D colours replace it.
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    BITMAP bm{};
    GetObjectA(strip, sizeof bm, &bm);
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(strip)};
    SendMessageA(m_hwnd, TB_ADDBITMAP, imageWidth > 0 ? bm.bmWidth / imageWidth : 0, reinterpret_cast<LPARAM>(&add));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (const Slot& slot : m_slots) {
        TBBUTTON b{};
        if (slot.id == 0 || slot.width > 0) {
            b.iBitmap = slot.width;  // a separator's width
            b.idCommand = static_cast<int>(slot.id);
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = image++;
            b.idCommand = static_cast<int>(slot.id);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(b);
    }
    SendMessageA(m_hwnd, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(m_hwnd, TB_AUTOSIZE, 0, 0);
    return true;
}

RECT CToolBar::ItemRect(int index) const {
    RECT r{};
    SendMessageA(m_hwnd, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

int CToolBar::IndexOf(UINT id) const {
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].id == id)
            return static_cast<int>(i);
    return -1;
}

void CToolBar::UpdateButtons(const std::function<bool(CCmdUI&)>& route) const {
    for (const Slot& slot : m_slots) {
        if (slot.id == 0 || slot.width > 0)
            continue;
        CCmdUI ui(slot.id);
        if (!route(ui))
            ui.Enable(false);
        const LRESULT state = SendMessageA(m_hwnd, TB_GETSTATE, slot.id, 0);
        LRESULT wanted = state & ~(TBSTATE_ENABLED | TBSTATE_CHECKED);
        if (ui.Enabled())
            wanted |= TBSTATE_ENABLED;
        if (ui.Checked())
            wanted |= TBSTATE_CHECKED;
        // Only real changes: setting a state repaints the button.
        if (wanted != state)
            SendMessageA(m_hwnd, TB_SETSTATE, slot.id, MAKELPARAM(wanted, 0));
    }
}

std::string CToolBar::TipText(UINT id) {
    const std::string text = LoadResString(id);
    const size_t feed = text.find('\n');
    return feed == std::string::npos ? std::string() : text.substr(feed + 1);
}

std::string CommandPrompt(UINT id) {
    const std::string text = LoadResString(id);
    return text.substr(0, text.find('\n'));
}
