#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/kdmlib.h"
#include "common/testing/InstalledSettings.h"
#include "framework/BusyState.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "common/core/SmhWriter.h"
#include "viewer/DdeServer.h"
#include "viewer/PhoneBook.h"
#include "viewer/ViewerApp.h"
#include "viewer/resource.h"

// The Viewer's main window in this process: commands and messages sent to the real windows.
namespace {
class CTestViewerApp : public CViewerApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

std::vector<uint8_t> Fax(uint32_t pages, uint32_t rows = 400) {
    std::vector<SmhPageSpec> specs;
    for (uint32_t i = 0; i < pages; ++i)
        specs.emplace_back(mh::EncodeMh(mh::RandomPage(1728, rows + i, 3, 11 + i)));
    return BuildSmhDocument(MakeSmhHeader(pages), specs);
}

class ViewerShellTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.LoadSuiteSettings(IDS_REG_ERROR));
        ASSERT_TRUE(m_app.CreateMainWindow());
        ShowWindow(Frame(), SW_SHOW);
        UpdateWindow(Frame());
    }
    void TearDown() override { m_app.DestroyMainWindow(); }

    HWND Frame() { return m_app.Frame().GetSafeHwnd(); }
    std::string WriteFax(const std::string& name, uint32_t pages) {
        const std::string path = m_settings.RecvFolder() + name;
        const std::vector<uint8_t> bytes = Fax(pages);
        WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
    void Command(UINT id) { SendMessageA(Frame(), WM_COMMAND, id, 0); }
    CCmdUI State(UINT id) {
        CCmdUI ui(id);
        if (!m_app.Frame().RouteUpdate(ui))
            ui.Enable(false);
        return ui;
    }
    bool Enabled(UINT id) { return State(id).Enabled(); }
    std::string Caption() {
        char text[256] = {};
        GetWindowTextA(Frame(), text, sizeof text);
        return text;
    }
    std::string StatusText() { return m_app.Frame().StatusBar().PaneText(0); }
    std::string ZoomText() {
        char text[32] = {};
        GetWindowTextA(m_app.Frame().ZoomBox().Hwnd(), text, sizeof text);
        return text;
    }
    void TypeIntoZoomBox(const char* text) {
        HWND combo = m_app.Frame().ZoomBox().Hwnd();
        SetWindowTextA(combo, text);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        SendMessageA(info.hwndItem, WM_KEYDOWN, VK_RETURN, 0);
    }
    void ChooseZoomEntry(int index) {
        HWND combo = m_app.Frame().ZoomBox().Hwnd();
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(IDC_ZOOM_BOX, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CTestViewerApp m_app;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(ViewerShellTest, AnEmptyViewerOffersOnlyWhatNeedsNoPage) {
    EXPECT_EQ(Caption(), "查看器 - Untitled");
    for (UINT id :
         {ID_PAGE_NEXT, ID_PAGE_PREVIOUS, ID_EDIT_UNDO, ID_FILE_SAVE_AS, ID_FILE_SEND_FAX, ID_IMAGE_ROTATE_RIGHT,
          ID_IMAGE_ROTATE_LEFT, ID_IMAGE_ROTATE_180, ID_IMAGE_SMOOTH, ID_EDIT_COPY, ID_SELECT_NONE})
        EXPECT_FALSE(Enabled(id)) << id;
    for (UINT id :
         {ID_FILE_OPEN, ID_FILE_OPEN_FAX, ID_APP_EXIT, ID_APP_ABOUT, ID_VIEW_NORMAL, ID_VIEW_ZOOM_IN, ID_HELP_INDEX})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(ZoomText(), "100%");
    EXPECT_EQ(StatusText(), "准备");
    // With no recent files the file menu keeps its own placeholder, greyed.
    HMENU file = GetSubMenu(GetMenu(Frame()), 0);
    SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    char text[64] = {};
    GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "当前文件");
    EXPECT_TRUE(GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(ViewerShellTest, OpeningAFaxShowsPageOneAndPagesThrough) {
    const std::string path = WriteFax("three.smh", 3);
    ASSERT_TRUE(m_app.OpenDocumentFile(path));
    EXPECT_EQ(Caption(), "查看器 - three.smh");
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 1u);
    EXPECT_FALSE(Enabled(ID_PAGE_PREVIOUS));
    EXPECT_TRUE(Enabled(ID_PAGE_NEXT));
    EXPECT_TRUE(Enabled(ID_FILE_SAVE_AS));
    EXPECT_TRUE(Enabled(ID_IMAGE_ROTATE_RIGHT));

    Command(ID_PAGE_NEXT);
    Command(ID_PAGE_NEXT);
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 3u);
    EXPECT_FALSE(Enabled(ID_PAGE_NEXT));
    Command(ID_PAGE_NEXT);  // disabled: not carried out
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 3u);
    EXPECT_EQ(m_app.View().TotalSize().cy, 402) << "the view is laid out for page 3 at 100%";

    // The toolbar follows the rules once the program is idle.
    m_app.Frame().OnIdleUpdate();
    HWND toolBar = m_app.Frame().ToolBar().Hwnd();
    EXPECT_FALSE(SendMessageA(toolBar, TB_ISBUTTONENABLED, ID_PAGE_NEXT, 0));
    EXPECT_TRUE(SendMessageA(toolBar, TB_ISBUTTONENABLED, ID_PAGE_PREVIOUS, 0));
    EXPECT_FALSE(SendMessageA(toolBar, TB_ISBUTTONENABLED, ID_EDIT_COPY, 0));
}

TEST_F(ViewerShellTest, RotatingChangesTheLayoutAndUndoRestoresIt) {
    ASSERT_TRUE(m_app.OpenDocumentFile(WriteFax("one.smh", 1)));
    EXPECT_FALSE(Enabled(ID_PAGE_NEXT));
    EXPECT_FALSE(Enabled(ID_PAGE_PREVIOUS));
    EXPECT_EQ(m_app.View().TotalSize().cx, 1728);
    Command(ID_IMAGE_ROTATE_RIGHT);
    EXPECT_EQ(m_app.View().TotalSize().cx, 400);
    EXPECT_EQ(m_app.View().TotalSize().cy, 1728);
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(m_app.View().TotalSize().cx, 1728);
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
}

TEST_F(ViewerShellTest, TheZoomBoxParsesWhatIsTypedOrChosen) {
    ASSERT_TRUE(m_app.OpenDocumentFile(WriteFax("one.smh", 1)));
    struct Case {
        const char* typed;
        const char* shown;
        float factor;
    };
    for (const Case& c : {Case{"75", "75%", 0.75f}, Case{"5%", "10%", 0.1f}, Case{"abc", "100%", 1.0f},
                          Case{"1%5", "10%", 0.1f}, Case{"250", "200%", 2.0f}}) {
        TypeIntoZoomBox(c.typed);
        EXPECT_EQ(ZoomText(), c.shown) << c.typed;
        EXPECT_FLOAT_EQ(m_app.View().GetZoom(), c.factor) << c.typed;
    }
    ChooseZoomEntry(4);
    EXPECT_EQ(ZoomText(), "25%");
    EXPECT_FLOAT_EQ(m_app.View().GetZoom(), 0.25f);
    EXPECT_EQ(m_app.View().TotalSize().cx, 432);
    Command(ID_VIEW_NORMAL);
    EXPECT_EQ(ZoomText(), "100%");
    EXPECT_FLOAT_EQ(m_app.View().GetZoom(), 1.0f);
}

TEST_F(ViewerShellTest, ZoomToolsAreCheckedWhileActive) {
    Command(ID_VIEW_ZOOM_IN);
    EXPECT_TRUE(State(ID_VIEW_ZOOM_IN).Checked());
    Command(ID_VIEW_ZOOM_OUT);
    EXPECT_FALSE(State(ID_VIEW_ZOOM_IN).Checked());
    EXPECT_TRUE(State(ID_VIEW_ZOOM_OUT).Checked());
    Command(ID_VIEW_ZOOM_OUT);
    EXPECT_FALSE(State(ID_VIEW_ZOOM_OUT).Checked());
    Command(ID_SELECTION_START);
    EXPECT_TRUE(State(ID_SELECTION_START).Checked());
    Command(ID_VIEW_ZOOM_OUT);
    EXPECT_FALSE(State(ID_SELECTION_START).Checked()) << "the zoom-out tool ends selection mode";
}

TEST_F(ViewerShellTest, SelectAllThenCopyPutsTheWholePageOnTheClipboard) {
    ASSERT_TRUE(m_app.OpenDocumentFile(WriteFax("one.smh", 1)));
    TypeIntoZoomBox("25");
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    Command(ID_SELECT_ALL);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    EXPECT_TRUE(Enabled(ID_SELECT_NONE));
    Command(ID_EDIT_COPY);
    EXPECT_FALSE(Enabled(ID_EDIT_COPY)) << "copying ends the selection";
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 1728) << "full resolution whatever the zoom";
    EXPECT_EQ(header->biHeight, 400);
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(ViewerShellTest, ProgressMessagesShowInTheStatusBarOnceTheWorkLastsAMoment) {
    HWND bar = m_app.Frame().ProgressBar();
    // A page that decodes at once leaves the status bar as it is.
    SendMessageA(Frame(), kKdmDecodeProgressMessage, 0, 0);
    SendMessageA(Frame(), kKdmDecodeProgressMessage, 40, 0);
    EXPECT_EQ(StatusText(), "准备");
    SendMessageA(Frame(), kKdmDecodeProgressMessage, 100, 0);
    EXPECT_EQ(StatusText(), "准备");

    SendMessageA(Frame(), kKdmDecodeProgressMessage, 0, 0);
    Sleep(150);
    SendMessageA(Frame(), kKdmDecodeProgressMessage, 40, 0);
    EXPECT_EQ(StatusText(), "SMH格式到BMP格式");
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 40);
    SendMessageA(Frame(), kKdmSmoothProgressMessage, 10, 0);
    EXPECT_EQ(StatusText(), "平滑处理...") << "a change of text shows at once";
    SendMessageA(Frame(), kKdmDecodeProgressMessage, 100, 0);
    EXPECT_EQ(StatusText(), "准备");
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);

    SendMessageA(Frame(), WM_STATUS_PROGRESS, 30, 2);
    Sleep(150);
    SendMessageA(Frame(), WM_STATUS_PROGRESS, 50, 2);
    EXPECT_EQ(StatusText(), "保存数据...");
    // The bar moves a few times a second, not on every message.
    SendMessageA(Frame(), WM_STATUS_PROGRESS, 51, 2);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 50);
    Sleep(150);
    SendMessageA(Frame(), WM_STATUS_PROGRESS, 60, 2);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 60);
    // Sending's end keeps the text its lParam chooses and only empties the bar.
    SendMessageA(Frame(), WM_STATUS_PROGRESS, 100, 2);
    EXPECT_EQ(StatusText(), "保存数据...");
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    SendMessageA(Frame(), WM_STATUS_PROGRESS, 100, 0);
    EXPECT_EQ(StatusText(), "准备");
}

TEST_F(ViewerShellTest, MenuItemsShowTheirPromptWhileSelected) {
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN_FAX, MF_STRING), 1);
    EXPECT_EQ(StatusText(), "打开传真文件");
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(), "准备");
}

TEST_F(ViewerShellTest, OpenedFilesGoFirstInTheRecentListAndASecondStartsFileIsOpened) {
    const std::string first = WriteFax("first.smh", 1);
    const std::string second = WriteFax("second.smh", 2);
    ASSERT_TRUE(m_app.OpenDocumentFile(first));
    ASSERT_TRUE(m_app.OpenDocumentFile(second));
    EXPECT_EQ(m_app.Profile().GetString("Recent File List", "File1"), second);
    EXPECT_EQ(m_app.Profile().GetString("Recent File List", "File2"), first);

    // What a second start does: the list is written with its file first, then the running Viewer is told. The
    // Logbook hands over 8.3 paths; the list keeps the long form.
    char shortFirst[MAX_PATH] = {};
    GetShortPathNameA(first.c_str(), shortFirst, sizeof shortFirst);
    m_app.Profile().WriteString("Recent File List", "File1", shortFirst);
    m_app.Profile().WriteString("Recent File List", "File2", second);
    SendMessageA(Frame(), WM_OPEN_RECENT_FIRST, 0, 0);
    EXPECT_EQ(Caption(), "查看器 - second.smh") << "the other start is answered before the file opens";
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(Caption(), "查看器 - first.smh");

    ASSERT_EQ(m_app.RecentFiles().Count(), 2u);
    EXPECT_EQ(m_app.RecentFiles().Path(0), first);
    HMENU file = GetSubMenu(GetMenu(Frame()), 0);
    SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    char text[MAX_PATH + 8] = {};
    GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "&1 C:\\...\\tray\\first.smh") << "shortened to a menu's width";
}

TEST_F(ViewerShellTest, AFileThatIsNotAnSmhDocumentIsRefused) {
    const std::string path = m_settings.RecvFolder() + "letter.txt";
    const std::vector<uint8_t> bytes = Fax(1);
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(m_app.OpenDocumentFile(path));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "这不是有效的SMH文件");
    EXPECT_EQ(Caption(), "查看器 - Untitled");
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 0u);
}

TEST(DdeOpenCommand, GivesThePathOfAnOpenCommandOnly) {
    EXPECT_EQ(DdeOpenPath("[open(\"C:\\tray\\a b.smh\")]"), "C:\\tray\\a b.smh");
    EXPECT_EQ(DdeOpenPath("[OPEN(\"x.smh\")]"), "x.smh");
    EXPECT_EQ(DdeOpenPath("[open(\"\")]"), "");
    EXPECT_EQ(DdeOpenPath("[print(\"x.smh\")]"), "");
    EXPECT_EQ(DdeOpenPath("[open(\"x.smh\""), "");
}

TEST_F(ViewerShellTest, TheToolBarDocksOnEverySideAndFloats) {
    HWND toolBar = m_app.Frame().ToolBar().Hwnd();
    HWND view = m_app.View().GetSafeHwnd();
    auto viewRect = [&] {
        RECT r;
        GetWindowRect(view, &r);
        MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT bar;
    GetClientRect(toolBar, &bar);
    EXPECT_EQ(viewRect().top, bar.bottom) << "docked at the top to start with";

    Command(CToolBar::kDockLeftCommand);
    GetClientRect(toolBar, &bar);
    EXPECT_LT(bar.right, 40) << "a column of buttons";
    EXPECT_EQ(viewRect().left, bar.right);
    EXPECT_EQ(viewRect().top, 0);
    EXPECT_FALSE(IsWindowVisible(m_app.Frame().ZoomBox().Hwnd())) << "the zoom box does not fit a column";
    EXPECT_TRUE(State(CToolBar::kDockLeftCommand).Checked());

    Command(CToolBar::kDockBottomCommand);
    RECT client;
    GetClientRect(Frame(), &client);
    EXPECT_EQ(viewRect().top, 0);
    EXPECT_TRUE(IsWindowVisible(m_app.Frame().ZoomBox().Hwnd()));
    RECT placed;
    GetWindowRect(toolBar, &placed);
    MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.top, viewRect().bottom) << "between the view and the status bar";

    Command(CToolBar::kFloatCommand);
    HWND floating = GetParent(toolBar);
    EXPECT_NE(floating, Frame());
    EXPECT_TRUE(GetWindowLongPtrA(floating, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(viewRect().top, 0);
    EXPECT_EQ(viewRect().left, 0);
    // Its buttons still command the main window.
    ASSERT_TRUE(m_app.OpenDocumentFile(WriteFax("two.smh", 2)));
    const int next = static_cast<int>(SendMessageA(toolBar, TB_COMMANDTOINDEX, ID_PAGE_NEXT, 0));
    RECT button;
    SendMessageA(toolBar, TB_GETITEMRECT, next, reinterpret_cast<LPARAM>(&button));
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(toolBar, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 2u);

    // Closing the floating window docks the bar at the top again.
    SendMessageA(floating, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(GetParent(toolBar), Frame());
    EXPECT_FALSE(IsWindow(floating));
    EXPECT_TRUE(State(CToolBar::kDockTopCommand).Checked());
}

TEST_F(ViewerShellTest, CopyPutsExactlyTheDraggedPixelsOnTheClipboard) {
    const kdm::BilevelImage page = mh::RandomPage(1728, 400, 30, 99);
    const std::vector<uint8_t> fax = BuildSmhDocument(MakeSmhHeader(1), {SmhPageSpec(mh::EncodeMh(page))});
    const std::string path = m_settings.RecvFolder() + "dragged.smh";
    WriteFileBytes(path, std::string(fax.begin(), fax.end()));
    ASSERT_TRUE(m_app.OpenDocumentFile(path));
    HWND view = m_app.View().GetSafeHwnd();
    Command(ID_SELECTION_START);
    // At 100% and unscrolled, client pixels are page pixels.
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 50));
    SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 70));
    SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(110, 70));
    ASSERT_TRUE(Enabled(ID_EDIT_COPY));
    Command(ID_EDIT_COPY);

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    const auto* info = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->biWidth, 100);
    EXPECT_EQ(info->biHeight, 50);
    ASSERT_EQ(info->biBitCount, 32) << "the window's own depth under Xvfb";
    const auto* pixels = reinterpret_cast<const uint32_t*>(reinterpret_cast<const BYTE*>(info) + info->biSize +
                                                           info->biClrUsed * sizeof(RGBQUAD));
    int mismatches = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool black = (pixels[(49 - y) * 100 + x] & 0xFFFFFF) == 0;  // bottom-up rows
            mismatches += black != page.Black(10 + x, 20 + y);
        }
    EXPECT_EQ(mismatches, 0);
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(ViewerShellTest, InputQueuedWhileBusyIsDiscarded) {
    ASSERT_TRUE(m_app.OpenDocumentFile(WriteFax("one.smh", 1)));
    HWND view = m_app.View().GetSafeHwnd();
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Frame(), WM_KEYDOWN, VK_NEXT, 0);
    // Zooming from the box runs busy; the clicks and keys that waited meanwhile must not land afterwards.
    TypeIntoZoomBox("50");
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, view, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, Frame(), WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
    EXPECT_TRUE(IsWindowEnabled(Frame()));
}

TEST_F(ViewerShellTest, ToolbarButtonsExplainThemselves) {
    NMTBHOTITEM hot{};
    hot.hdr = {m_app.Frame().ToolBar().Hwnd(), 0, static_cast<UINT>(TBN_HOTITEMCHANGE)};
    hot.idNew = ID_IMAGE_SMOOTH;
    SendMessageA(Frame(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(StatusText(), "平滑处理当前页面") << "flyby help: the prompt";
    hot.dwFlags = HICF_LEAVING;
    SendMessageA(Frame(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(StatusText(), "准备");

    NMTTDISPINFOA tip{};
    tip.hdr = {nullptr, ID_FILE_OPEN_FAX, static_cast<UINT>(TTN_GETDISPINFOA)};
    SendMessageA(Frame(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(tip.lpszText, "打开传真文件") << "the tooltip: the text after the line feed";
}

TEST_F(ViewerShellTest, KeyIndicatorsFollowTheToggleKeys) {
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    const BYTE saved[3] = {keys[VK_CAPITAL], keys[VK_NUMLOCK], keys[VK_SCROLL]};
    keys[VK_CAPITAL] |= 1;
    keys[VK_NUMLOCK] &= ~1;
    keys[VK_SCROLL] |= 1;
    SetKeyboardState(keys);
    m_app.Frame().OnIdleUpdate();
    CStatusBar& bar = m_app.Frame().StatusBar();
    EXPECT_EQ(bar.PaneText(bar.IndicatorPane(0)), "CAP");
    EXPECT_EQ(bar.PaneText(bar.IndicatorPane(1)), "");
    EXPECT_EQ(bar.PaneText(bar.IndicatorPane(2)), "SCRL");
    keys[VK_CAPITAL] = saved[0];
    keys[VK_NUMLOCK] = saved[1];
    keys[VK_SCROLL] = saved[2];
    SetKeyboardState(keys);
}

namespace {
class CRefusingPhoneBook : public IPhoneBook {
public:
    int opened = 0;
    int OpenPhone(int*) override {
        ++opened;
        return 1;  // the user closed the phone book
    }
    int GetNameandPhone(void*) override { return 1; }
};
}  // namespace

TEST_F(ViewerShellTest, SendFaxIsOfferedOnlyWithAPhoneBookAndAFaxPage) {
    ASSERT_TRUE(m_app.OpenDocumentFile(WriteFax("one.smh", 1)));
    EXPECT_FALSE(Enabled(ID_FILE_SEND_FAX)) << "no phone book";
    EXPECT_TRUE(Enabled(ID_FILE_SEND_PRINT));
    CRefusingPhoneBook book;
    m_app.SetPhoneBook(&book);
    EXPECT_TRUE(Enabled(ID_FILE_SEND_FAX));
    Command(ID_FILE_SEND_FAX);
    EXPECT_EQ(book.opened, 1);
    EXPECT_FALSE(FileExists(m_settings.RecvFolder() + "RESEND.TMP")) << "closing the phone book sends nothing";
    Command(ID_IMAGE_SMOOTH);
    EXPECT_FALSE(Enabled(ID_FILE_SEND_FAX)) << "a smoothed page is no fax page";
    m_app.SetPhoneBook(nullptr);
}

TEST_F(ViewerShellTest, OutlinesAreDashedAndZoomOutLeavesSelectionModeWithTheArrow) {
    const std::vector<uint8_t> blank =
        BuildSmhDocument(MakeSmhHeader(1), {SmhPageSpec(mh::EncodeMh(kdm::BilevelImage(1728, 400)))});
    const std::string path = m_settings.RecvFolder() + "blank.smh";
    WriteFileBytes(path, std::string(blank.begin(), blank.end()));
    ASSERT_TRUE(m_app.OpenDocumentFile(path));
    HWND view = m_app.View().GetSafeHwnd();
    Command(ID_SELECTION_START);
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(310, 110));
    SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(310, 110));
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Along the top edge of the outline: long strokes with gaps between them.
    HDC dc = GetDC(view);
    int longest = 0, run = 0, gaps = 0;
    for (int x = 12; x < 308; ++x) {
        const bool black = (GetPixel(dc, x, 10) & 0xFFFFFF) == 0;
        gaps += !black && run > 0;
        run = black ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    ReleaseDC(view, dc);
    EXPECT_GE(longest, 6) << "dots, not dashes";
    EXPECT_GT(gaps, 3);

    SetCursor(nullptr);
    Command(ID_VIEW_ZOOM_OUT);
    EXPECT_FALSE(m_app.View().SelectionMode());
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_TRUE(State(ID_VIEW_ZOOM_OUT).Checked());
    char text[32] = {};
    LoadStringA(GetModuleHandleA(nullptr), 157, text, sizeof text);
    EXPECT_STREQ(text, "注册错误") << "the Viewer's registry error is its string 157";
}

TEST_F(ViewerShellTest, AHandOverAndACloseThatArriveWhileBusyWaitAndProgressHandlesNothingElse) {
    const std::string first = WriteFax("first.smh", 1);
    const std::string second = WriteFax("second.smh", 1);
    ASSERT_TRUE(m_app.OpenDocumentFile(first));
    const auto pump = [] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    };
    {
        CBusyState busy(Frame());
        m_app.Profile().WriteString("Recent File List", "File1", second);
        SendMessageA(Frame(), WM_OPEN_RECENT_FIRST, 0, 0);
        // A progress report paints; it does not carry out a command that waits in the queue.
        PostMessageA(Frame(), WM_COMMAND, ID_VIEW_ZOOM_IN, 0);
        SendMessageA(Frame(), kKdmDecodeProgressMessage, 50, 0);
        EXPECT_EQ(m_app.View().ToolMode(), CZoomView::Tool::kNone);
        EXPECT_EQ(Caption(), "查看器 - first.smh");
    }
    pump();
    EXPECT_EQ(Caption(), "查看器 - second.smh");
    EXPECT_EQ(m_app.View().ToolMode(), CZoomView::Tool::kZoomIn);
    {
        CBusyState busy(Frame());
        SendMessageA(Frame(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(Frame()));
    }
    pump();
    EXPECT_EQ(Frame(), nullptr) << "closed once the work had ended";
}

TEST_F(ViewerShellTest, TheZoomBoxHandsTheKeyboardBackToThePage) {
    ASSERT_TRUE(m_app.OpenDocumentFile(WriteFax("two.smh", 2)));
    SetForegroundWindow(Frame());
    HWND view = m_app.View().GetSafeHwnd();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(m_app.Frame().ZoomBox().Hwnd(), &info);
    SetFocus(info.hwndItem);
    TypeIntoZoomBox("50");
    EXPECT_EQ(ZoomText(), "50%");
    EXPECT_EQ(GetFocus(), view) << "Enter: the page keys work again";

    SetFocus(info.hwndItem);
    SetWindowTextA(m_app.Frame().ZoomBox().Hwnd(), "77");
    SendMessageA(info.hwndItem, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(ZoomText(), "50%") << "Esc puts back the factor in effect";
    EXPECT_EQ(GetFocus(), view);

    SetFocus(info.hwndItem);
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(GetFocus(), view) << "a click on the page takes the keyboard";
}
