#include "launcher/tests/LauncherTestSupport.h"

#include <commctrl.h>

#include "framework/Resources.h"
#include "framework/testing/Scripted.h"
#include "launcher/core/MenuLayout.h"

namespace {
std::function<void(HWND)>* g_onShown;
const char* g_caption;
HHOOK g_hook;

LRESULT CALLBACK CbtHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && g_onShown) {
        HWND hwnd = reinterpret_cast<HWND>(wp);
        char text[128] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (strcmp(text, g_caption) == 0) {
            // Posted, so the dialog's modal loop is running when it arrives.
            auto* callback = g_onShown;
            g_onShown = nullptr;
            (*callback)(hwnd);
        }
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

std::string MenuItemText(HMENU menu, int position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}
}  // namespace

void WhenDialogShows(const char* caption,
                     const std::function<void(HWND)>& onShown,
                     const std::function<void()>& action) {
    std::function<void(HWND)> callback = onShown;
    g_onShown = &callback;
    g_caption = caption;
    g_hook = SetWindowsHookExA(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId());
    action();
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(g_onShown, nullptr) << "the dialog \"" << caption << "\" never showed";
    g_onShown = nullptr;
}

TEST_F(MenuFixture, ClientAreaAndButtonsFollowTheBitmapSize) {
    RECT client;
    GetClientRect(Menu(), &client);
    EXPECT_EQ(client.right, MenuClientWidth(36));
    EXPECT_EQ(client.bottom, MenuClientHeight(36));
    EXPECT_EQ(client.right, 136);
    EXPECT_EQ(client.bottom, 87);
    for (const ButtonPlace& p : MenuButtonPlaces(36, 36)) {
        RECT r;
        GetWindowRect(Button(p.id), &r);
        MapWindowPoints(nullptr, Menu(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, p.x) << p.id;
        EXPECT_EQ(r.top, p.y) << p.id;
        EXPECT_EQ(r.right - r.left, 38) << p.id;
        EXPECT_EQ(r.bottom - r.top, 36) << p.id;
    }
    RECT window;
    GetWindowRect(Menu(), &window);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
}

TEST_F(MenuFixture, WindowHasTheTemplateStylesAndIcon) {
    char caption[64] = {};
    GetWindowTextA(Menu(), caption, sizeof caption);
    EXPECT_STREQ(caption, "主菜单");
    LONG_PTR style = GetWindowLongPtrA(Menu(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(GetWindowLongPtrA(Menu(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    HICON big = reinterpret_cast<HICON>(SendMessageA(Menu(), WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(big, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(Menu(), WM_GETICON, ICON_SMALL, 0)), big);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(Menu(), WM_QUERYDRAGICON, 0, 0)), big);
}

TEST_F(MenuFixture, SystemMenuGetsHelpAboutAndAlwaysOnTop) {
    HMENU menu = GetSystemMenu(Menu(), FALSE);
    ASSERT_NE(menu, nullptr);
    for (int position : {0, 2, 4})
        EXPECT_TRUE(GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED) << position;
    int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 4);
    EXPECT_TRUE(GetMenuState(menu, count - 4, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, count - 3), UINT(IDM_HELP));
    EXPECT_EQ(MenuItemText(menu, count - 3), "帮助");
    EXPECT_EQ(GetMenuItemID(menu, count - 2), UINT(IDM_ABOUTBOX));
    EXPECT_EQ(MenuItemText(menu, count - 2), "关于主菜单...");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), UINT(IDM_ALWAYS_ON_TOP));
    EXPECT_EQ(MenuItemText(menu, count - 1), "总在最上层");
    EXPECT_FALSE(GetMenuState(menu, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(MenuFixture, AlwaysOnTopTogglesTheTopmostStyleAndTheCheck) {
    HMENU menu = GetSystemMenu(Menu(), FALSE);
    SendMessageA(Menu(), WM_SYSCOMMAND, IDM_ALWAYS_ON_TOP, 0);
    EXPECT_TRUE(GetWindowLongPtrA(Menu(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetMenuState(menu, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(m_menu->IsAlwaysOnTop());
    SendMessageA(Menu(), WM_SYSCOMMAND, IDM_ALWAYS_ON_TOP, 0);
    EXPECT_FALSE(GetWindowLongPtrA(Menu(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetMenuState(menu, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(IsWindowVisible(Menu()));
}

TEST_F(MenuFixture, HelpOpensTheHelpTopicsOfTheSuiteHelpFile) {
    CRecordingHelp help;
    CScopedSeam<IHelpEngine> seam(help);
    SendMessageA(Menu(), WM_SYSCOMMAND, IDM_HELP, 0);
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].file, m_settings.ProgramFolder() + "Mirolo.hlp");
    EXPECT_EQ(help.Calls()[0].command, UINT(HELP_FINDER));
    EXPECT_EQ(help.Calls()[0].data, 0u);
}

TEST_F(MenuFixture, AboutShowsTheRightsLineBuiltFromTwoStrings) {
    // The system may set the low four bits of a system-menu command.
    for (WPARAM command : {WPARAM(IDM_ABOUTBOX), WPARAM(IDM_ABOUTBOX | 0x3)}) {
        std::string rights;
        WhenDialogShows(
            "关于主菜单",
            [&](HWND about) {
                char text[256] = {};
                GetDlgItemTextA(about, IDC_RIGHTS, text, sizeof text);
                rights = text;
                PostMessageA(about, WM_COMMAND, IDOK, 0);
            },
            [&] { SendMessageA(Menu(), WM_SYSCOMMAND, command, 0); });
        EXPECT_EQ(rights, LoadResString(IDS_RIGHTS_PREFIX) + LoadResString(IDS_RIGHTS));
        EXPECT_FALSE(rights.empty());
    }
}

TEST_F(MenuFixture, EnterAndEscLeaveTheMenuOpenAndCloseEndsIt) {
    SendMessageA(Menu(), WM_COMMAND, IDOK, 0);
    SendMessageA(Menu(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(Menu()));
    HWND hwnd = Menu();
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MenuFixture, ModalMenuEndsWithOkOnlyOnClose) {
    m_menu.reset();
    CMenuDlg modal(m_app);
    INT_PTR result = -1;
    WhenDialogShows(
        "主菜单",
        [](HWND menu) {
            PostMessageA(menu, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(menu, WM_COMMAND, IDOK, 0);
            PostMessageA(menu, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
        [&] { result = modal.DoModal(nullptr); });
    EXPECT_EQ(result, IDOK);
}

TEST_F(MenuFixture, EveryButtonHasItsToolTip) {
    HWND tip = m_menu->ToolTipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 6);
    struct Tip {
        int button;
        UINT string;
        const char* text;
    };
    const Tip tips[] = {
        {IDC_FAXPRINT, IDS_TIP_FAXPRINT, "发送传真 / 打印"}, {IDC_LOGBOOK, IDS_TIP_LOGBOOK, "查看发送清单"},
        {IDC_AUTORECV, IDS_TIP_AUTORECV, "自动接收"},        {IDC_SCANER, IDS_TIP_SCANER, "扫描器"},
        {IDC_VIEWFAX, IDS_TIP_VIEWFAX, "查看接收清单"},      {IDC_PHONEBOOK, IDS_TIP_PHONEBOOK, "地址簿"}};
    for (const Tip& t : tips) {
        char text[128] = {};
        TTTOOLINFOA info{};
        info.cbSize = sizeof info;
        info.hwnd = Menu();
        info.uId = reinterpret_cast<UINT_PTR>(Button(t.button));
        info.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof text, LPARAM(&info));
        EXPECT_STREQ(text, t.text) << t.button;
        EXPECT_EQ(LoadResString(t.string), t.text);
    }
}
