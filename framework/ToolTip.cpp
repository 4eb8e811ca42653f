#include "framework/ToolTip.h"

#include <commctrl.h>

#include "framework/Resources.h"

CToolTip::~CToolTip() {
    if (m_hwnd && IsWindow(m_hwnd))
        DestroyWindow(m_hwnd);
}

bool CToolTip::Create(HWND owner) {
    m_owner = owner;
    // Not owned by `owner`: under Wine an owned tooltip keeps its owner from becoming top-most (the owner is
    // put behind the tooltip instead and never gets WS_EX_TOPMOST). The tips still belong to owner's controls,
    // and the destructor ends the control.
    m_hwnd =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ResourceInstance(), nullptr);
    return m_hwnd != nullptr;
}

bool CToolTip::AddTool(HWND control, UINT stringId) {
    TTTOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = m_owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.hinst = ResourceInstance();
    info.lpszText = MAKEINTRESOURCEA(stringId);
    return SendMessageA(m_hwnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTip::Activate(bool active) {
    SendMessageA(m_hwnd, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}
