#include "framework/ToolBar.h"

#include <commctrl.h>

#include "framework/Resources.h"
#include "framework/Window.h"

namespace {
constexpr char kFloatingClass[] = "MiroloFloatingBar";
// Docked bars are placed by the frame, not by the control itself.
constexpr DWORD kSideStyles = CCS_TOP | CCS_BOTTOM | CCS_VERT | TBSTYLE_WRAPABLE;
constexpr int kDockedMargin = 4;
}  // namespace

// The small window of a floating bar. Closing it docks the bar at the top again.
class CToolBar::CFloatingWindow : public CWnd {
public:
    CFloatingWindow(HWND frame) : m_frame(frame) {}

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_CLOSE:
        case WM_NCLBUTTONDBLCLK:
            PostMessageA(m_frame, WM_COMMAND, kDockTopCommand, 0);
            return 0;
        }
        return Default(msg, wp, lp);
    }

private:
    HWND m_frame;
};

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() {
    if (m_float && IsWindow(m_float))
        DestroyWindow(m_float);
}

bool CToolBar::Create(HWND frame, UINT bitmapId, int imageWidth, int imageHeight, const std::vector<Slot>& slots) {
    m_slots = slots;
    m_frame = frame;
    m_hwnd = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP |
                                 CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
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

SIZE CToolBar::ButtonsSize() const {
    SIZE size{};
    SendMessageA(m_hwnd, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return size;
}

int CToolBar::Thickness() const {
    if (!m_hwnd || !IsWindowVisible(m_hwnd) || m_side == Side::kFloating)
        return 0;
    const SIZE size = ButtonsSize();
    return (IsVertical() ? size.cx : size.cy) + kDockedMargin;
}

void CToolBar::Place(const RECT& client) const {
    const int thickness = Thickness();
    if (thickness == 0)
        return;
    RECT r = client;
    switch (m_side) {
    case Side::kTop:
        r.bottom = r.top + thickness;
        break;
    case Side::kBottom:
        r.top = r.bottom - thickness;
        break;
    case Side::kLeft:
        r.right = r.left + thickness;
        break;
    case Side::kRight:
        r.left = r.right - thickness;
        break;
    case Side::kFloating:
        return;
    }
    MoveWindow(m_hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CToolBar::Dock(Side side) {
    const bool vertical = side == Side::kLeft || side == Side::kRight;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(m_hwnd, GWL_STYLE)) & ~kSideStyles;
    style |= vertical ? CCS_VERT : CCS_TOP;
    SetWindowLongPtrA(m_hwnd, GWL_STYLE, style);
    // A column: every button ends its row.
    for (int index = 0; index < static_cast<int>(m_slots.size()); ++index) {
        TBBUTTON button{};
        SendMessageA(m_hwnd, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STATE | TBIF_BYINDEX;
        info.fsState = static_cast<BYTE>(vertical ? (button.fsState | TBSTATE_WRAP) : (button.fsState & ~TBSTATE_WRAP));
        SendMessageA(m_hwnd, TB_SETBUTTONINFOA, index, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageA(m_hwnd, TB_AUTOSIZE, 0, 0);
    m_side = side;
    if (side == Side::kFloating) {
        if (!m_float) {
            RegisterWindowClass(ResourceInstance(), kFloatingClass, 0, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1));
            RECT at{};
            GetWindowRect(m_hwnd, &at);
            m_floatWindow = std::make_unique<CFloatingWindow>(m_frame);
            m_float = m_floatWindow->CreateEx(WS_EX_TOOLWINDOW, kFloatingClass, "", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                              at.left, at.top + 40, 100, 40, m_frame, nullptr, ResourceInstance());
            if (!m_float) {
                m_floatWindow.reset();
                m_side = Side::kTop;
                return;
            }
        }
        SetParent(m_hwnd, m_float);
        const SIZE size = ButtonsSize();
        RECT frame{0, 0, size.cx + kDockedMargin, size.cy + kDockedMargin};
        AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
        SetWindowPos(m_float, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        MoveWindow(m_hwnd, 0, 0, size.cx + kDockedMargin, size.cy + kDockedMargin, TRUE);
        ShowWindow(m_float, SW_SHOWNA);
        return;
    }
    if (m_float) {
        SetParent(m_hwnd, m_frame);
        HWND window = m_float;
        m_float = nullptr;
        DestroyWindow(window);
        m_floatWindow.reset();
    }
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

void CToolBar::FitSlotControl(UINT slotId, HWND control, int topOffset) const {
    const bool vertical = IsVertical();
    SendMessageA(m_hwnd, TB_HIDEBUTTON, slotId, MAKELPARAM(vertical, 0));
    ShowWindow(control, vertical ? SW_HIDE : SW_SHOWNA);
    if (!vertical) {
        const RECT slot = ItemRect(IndexOf(slotId));
        SetWindowPos(control, nullptr, slot.left, slot.top + topOffset, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
