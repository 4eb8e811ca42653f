#include "viewer/ZoomBox.h"

#include <commctrl.h>

#include "framework/Resources.h"
#include "viewer/resource.h"

namespace {
constexpr int kDropHeight = 100;  // the list drops 100 pixels below the box's top
constexpr int kTextLimit = 8;
const char* const kEntries[] = {"200%", "150%", "100%", " 50%", " 25%"};
}  // namespace

bool CZoomBox::Create(HWND toolBar, const RECT& slot, HWND mainWindow) {
    m_main = mainWindow;
    m_combo =
        CreateWindowExA(0, WC_COMBOBOXA, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, slot.left,
                        slot.top + 3, slot.right - slot.left, kDropHeight, toolBar,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_ZOOM_BOX)), ResourceInstance(), nullptr);
    if (!m_combo)
        return false;
    SendMessageA(m_combo, WM_SETFONT, SendMessageA(toolBar, WM_GETFONT, 0, 0), FALSE);
    if (!SendMessageA(m_combo, WM_GETFONT, 0, 0))
        SendMessageA(m_combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (const char* entry : kEntries)
        SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageA(m_combo, CB_SETCURSEL, 2, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(m_combo, &info) && info.hwndItem)
        m_edit.SubclassWindow(info.hwndItem);
    m_toolBar.SubclassWindow(toolBar);
    return true;
}

void CZoomBox::SetText(const std::string& text) {
    m_shownText = text;
    SetWindowTextA(m_combo, text.c_str());
}

std::string CZoomBox::EditText() const {
    SendMessageA(m_combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    char text[kTextLimit + 1] = {};
    GetWindowTextA(m_combo, text, sizeof text);
    return text;
}

std::string CZoomBox::EntryText(int index) const {
    const LRESULT length = SendMessageA(m_combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(m_combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void CZoomBox::OnEnter() {
    if (SendMessageA(m_combo, CB_GETDROPPEDSTATE, 0, 0)) {
        // Closing the list selects an entry; that change must not override what was typed.
        const std::string typed = EditText();
        m_ignoreSelection = true;
        SendMessageA(m_combo, CB_SHOWDROPDOWN, FALSE, 0);
        SetText(typed);
    }
    SendMessageA(m_main, WM_ZOOM_BOX_CHOSEN, 0, 0);
    SetFocus(m_main);
}

void CZoomBox::OnEscape() {
    if (SendMessageA(m_combo, CB_GETDROPPEDSTATE, 0, 0)) {
        m_ignoreSelection = true;
        SendMessageA(m_combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
    SetWindowTextA(m_combo, m_shownText.c_str());
    SetFocus(m_main);
}

void CZoomBox::OnSelectionChange() {
    if (m_ignoreSelection) {
        m_ignoreSelection = false;
        return;
    }
    const LRESULT index = SendMessageA(m_combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        SendMessageA(m_main, WM_ZOOM_BOX_CHOSEN, 0, 0);
    else
        SendMessageA(m_main, WM_ZOOM_BOX_CHOSEN, static_cast<WPARAM>(index), 1);
}

LRESULT CZoomBox::CEditHook::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if ((msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR) && (wp == VK_RETURN || wp == VK_ESCAPE)) {
        if (msg == WM_KEYDOWN && wp == VK_RETURN)
            m_owner.OnEnter();
        else if (msg == WM_KEYDOWN)
            m_owner.OnEscape();
        return 0;
    }
    return Default(msg, wp, lp);
}

LRESULT CZoomBox::CToolBarHook::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == m_owner.m_combo) {
        switch (HIWORD(wp)) {
        case CBN_SELCHANGE:
            m_owner.OnSelectionChange();
            return 0;
        case CBN_DROPDOWN:
            m_owner.m_ignoreSelection = false;
            return 0;
        }
        return 0;
    }
    return Default(msg, wp, lp);
}
