#include "framework/FrameWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <shellapi.h>

#include "framework/App.h"
#include "framework/Document.h"
#include "framework/FrameworkResources.h"
#include "framework/HeldRequests.h"
#include "framework/Resources.h"
#include "framework/View.h"

namespace {
constexpr char kFrameClass[] = "MiroloFrame";

int Height(HWND hwnd) {
    RECT r{};
    if (hwnd && IsWindowVisible(hwnd))
        GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}
}  // namespace

bool CFrameWnd::Create(UINT resourceId, const std::string& appTitle) {
    m_appTitle = appTitle;
    if (!RegisterWindowClass(ResourceInstance(), kFrameClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1),
                             LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(resourceId))))
        return false;
    m_accelerators = LoadAcceleratorsA(ResourceInstance(), MAKEINTRESOURCEA(resourceId));
    HMENU menu = LoadMenuA(ResourceInstance(), MAKEINTRESOURCEA(resourceId));
    if (!CreateEx(0, kFrameClass, appTitle.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, ResourceInstance())) {
        if (menu)
            DestroyMenu(menu);
        return false;
    }
    if (!OnCreateBars())
        return false;
    RecalcLayout();
    return true;
}

void CFrameWnd::SetView(CView* view, CDocument* document) {
    m_view = view;
    m_document = document;
    RecalcLayout();
    UpdateTitle();
}

void CFrameWnd::UpdateTitle() {
    std::string caption = m_appTitle;
    if (m_document)
        caption += " - " + m_document->Title();
    char current[512] = {};
    GetWindowTextA(m_hWnd, current, sizeof current);
    if (caption != current)
        SetWindowTextA(m_hWnd, caption.c_str());
}

void CFrameWnd::RecalcLayout() {
    if (!m_hWnd)
        return;
    RECT area;
    GetClientRect(m_hWnd, &area);
    m_statusBar.Resize();
    area.bottom -= Height(m_statusBar.Hwnd());
    if (m_toolBar.Hwnd()) {
        m_toolBar.Place(area);
        const int thickness = m_toolBar.Thickness();
        switch (m_toolBar.DockSide()) {
        case CToolBar::Side::kTop:
            area.top += thickness;
            break;
        case CToolBar::Side::kBottom:
            area.bottom -= thickness;
            break;
        case CToolBar::Side::kLeft:
            area.left += thickness;
            break;
        case CToolBar::Side::kRight:
            area.right -= thickness;
            break;
        case CToolBar::Side::kFloating:
            break;
        }
    }
    if (m_view && m_view->GetSafeHwnd())
        MoveWindow(m_view->GetSafeHwnd(), area.left, area.top, std::max<LONG>(0, area.right - area.left),
                   std::max<LONG>(0, area.bottom - area.top), TRUE);
}

void CFrameWnd::DockToolBar(CToolBar::Side side) {
    m_toolBar.Dock(side);
    OnToolBarDocked();
    RecalcLayout();
}

namespace {
struct DockChoice {
    UINT command;
    UINT text;
    CToolBar::Side side;
};
const DockChoice kDockChoices[] = {
    {CToolBar::kDockTopCommand, IDS_FW_DOCK_TOP, CToolBar::Side::kTop},
    {CToolBar::kDockBottomCommand, IDS_FW_DOCK_BOTTOM, CToolBar::Side::kBottom},
    {CToolBar::kDockLeftCommand, IDS_FW_DOCK_LEFT, CToolBar::Side::kLeft},
    {CToolBar::kDockRightCommand, IDS_FW_DOCK_RIGHT, CToolBar::Side::kRight},
    {CToolBar::kFloatCommand, IDS_FW_FLOAT, CToolBar::Side::kFloating},
};
}  // namespace

void CFrameWnd::ShowToolBarMenu() {
    HMENU menu = CreatePopupMenu();
    for (const DockChoice& choice : kDockChoices) {
        const UINT checked = m_toolBar.DockSide() == choice.side ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(menu, MF_STRING | checked, choice.command, LoadResString(choice.text).c_str());
    }
    POINT at;
    GetCursorPos(&at);
    UINT chosen;
    {
        CWorkScope menuLoop;
        chosen =
            static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr));
    }
    DestroyMenu(menu);
    if (chosen)
        RouteCommand(chosen);
}

void CFrameWnd::OnIdleUpdate() {
    if (m_toolBar.Hwnd() && IsWindowVisible(m_toolBar.Hwnd()))
        m_toolBar.UpdateButtons([this](CCmdUI& ui) { return RouteUpdate(ui); });
    m_statusBar.UpdateIndicators();
    UpdateTitle();
}

bool CFrameWnd::TranslateAccelerator(MSG& msg) const {
    return m_accelerators && ::TranslateAcceleratorA(m_hWnd, m_accelerators, &msg);
}

bool CFrameWnd::RouteCommand(UINT id) {
    CCmdUI ui(id);
    if (!RouteUpdate(ui) || !ui.Enabled())
        return false;
    // A command is work: whatever it waits on (a dialog, a message, a page) lets no request from outside in.
    CWorkScope command;
    if (m_view && m_view->OnCommand(id))
        return true;
    if (m_document && m_document->OnCommand(id))
        return true;
    if (OnCommand(id))
        return true;
    CWinApp* app = TheApp();
    return app && app->OnCommand(id);
}

bool CFrameWnd::RouteUpdate(CCmdUI& ui) {
    if (m_view && m_view->OnUpdateCommand(ui))
        return true;
    if (m_document && m_document->OnUpdateCommand(ui))
        return true;
    if (OnUpdateCommand(ui))
        return true;
    CWinApp* app = TheApp();
    return app && app->OnUpdateCommand(ui);
}

bool CFrameWnd::OnCommand(UINT id) {
    for (const DockChoice& choice : kDockChoices) {
        if (choice.command == id) {
            DockToolBar(choice.side);
            return true;
        }
    }
    switch (id) {
    case kViewToolBar:
        ShowBar(m_toolBar.Hwnd(), !IsWindowVisible(m_toolBar.Hwnd()));
        return true;
    case kViewStatusBar:
        ShowBar(m_statusBar.Hwnd(), !IsWindowVisible(m_statusBar.Hwnd()));
        return true;
    }
    return false;
}

bool CFrameWnd::OnUpdateCommand(CCmdUI& ui) {
    for (const DockChoice& choice : kDockChoices) {
        if (choice.command == ui.Id()) {
            ui.SetCheck(m_toolBar.DockSide() == choice.side);
            return true;
        }
    }
    switch (ui.Id()) {
    case kViewToolBar:
        ui.SetCheck(m_toolBar.Hwnd() && IsWindowVisible(m_toolBar.Hwnd()));
        return true;
    case kViewStatusBar:
        ui.SetCheck(m_statusBar.Hwnd() && IsWindowVisible(m_statusBar.Hwnd()));
        return true;
    }
    return false;
}

void CFrameWnd::ShowBar(HWND bar, bool show) {
    if (!bar)
        return;
    ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::ShowPrompt(UINT id) {
    if (!m_statusBar.Hwnd())
        return;
    const std::string prompt = id ? CommandPrompt(id) : std::string();
    m_statusBar.SetPaneText(0, prompt.empty() ? m_idleText : prompt);
}

void CFrameWnd::OnInitMenuPopup(HMENU menu) {
    OnMenuPopup(menu);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;  // separators and submenus
        CCmdUI ui(id);
        if (!RouteUpdate(ui))
            ui.Enable(false);
        EnableMenuItem(menu, i, MF_BYPOSITION | (ui.Enabled() ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, i, MF_BYPOSITION | (ui.Checked() ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu) {
        ShowPrompt(0);  // the menu closed
        return;
    }
    ShowPrompt((flags & (MF_POPUP | MF_SEPARATOR)) ? 0 : item);
}

LRESULT CFrameWnd::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case TTN_GETDISPINFOA: {
        auto& info = const_cast<NMTTDISPINFOA&>(reinterpret_cast<const NMTTDISPINFOA&>(header));
        const std::string tip = CToolBar::TipText(static_cast<UINT>(header.idFrom));
        lstrcpynA(info.szText, tip.c_str(), sizeof info.szText);
        info.lpszText = info.szText;
        return 0;
    }
    case TTN_GETDISPINFOW: {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        const std::string tip = CToolBar::TipText(static_cast<UINT>(header.idFrom));
        MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, info.szText, static_cast<int>(std::size(info.szText)));
        info.szText[std::size(info.szText) - 1] = 0;
        info.lpszText = info.szText;
        return 0;
    }
    case NM_RCLICK:
        if (header.hwndFrom == m_toolBar.Hwnd()) {
            ShowToolBarMenu();
            return TRUE;
        }
        return 0;
    case TBN_HOTITEMCHANGE: {
        const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(header);
        ShowPrompt((hot.dwFlags & HICF_LEAVING) ? 0 : static_cast<UINT>(hot.idNew));
        return 0;
    }
    }
    return 0;
}

void CFrameWnd::OnClose() {
    DestroyWindow(m_hWnd);
}

void CFrameWnd::OnDropFiles(HDROP drop) {
    DragFinish(drop);
}

bool CFrameWnd::IsRequest(UINT msg) const {
    return msg == WM_CLOSE || msg == WM_DROPFILES;
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (IsRequest(msg) && HoldRequest(m_hWnd, msg, wp, lp))
        return 0;
    LRESULT result = 0;
    if (OnFrameMessage(msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_COMMAND:
        // Menus, accelerators and toolbar buttons; notifications of other controls are the derived frame's.
        if (HIWORD(wp) <= 1 || reinterpret_cast<HWND>(lp) == m_toolBar.Hwnd()) {
            RouteCommand(LOWORD(wp));
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp))
            OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_SETFOCUS:
        if (m_view && m_view->GetSafeHwnd())
            SetFocus(m_view->GetSafeHwnd());
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SETCURSOR:
        // While busy the wait cursor stays, wherever the mouse is.
        if (!IsWindowEnabled(m_hWnd))
            return TRUE;
        break;
    case WM_DESTROY:
        if (CWinApp* app = TheApp(); app && app->MainWindow() == m_hWnd) {
            app->SetMainWindow(nullptr);
            PostQuitMessage(0);
        }
        return 0;
    }
    return Default(msg, wp, lp);
}
