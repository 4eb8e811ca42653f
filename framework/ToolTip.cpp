#include "framework/ToolTip.h"

#include <commctrl.h>

#include "framework/Resources.h"

CToolTip::~CToolTip() {
    if (m_hwnd && IsWindow(m_hwnd))
        DestroyWindow(m_hwnd);
}

bool CToolTip::Create(HWND owner) {
    m_owner = owner;
    m_hwnd = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ResourceInstance(), nullptr);
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
