#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/testing/InstalledSettings.h"
#include "common/testing/ListReading.h"
#include "contacts/ContactsApp.h"
#include "contacts/ContactsDlg.h"
#include "contacts/resource.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"

namespace {
// A heading line is dropped whenever the program writes the book, so its survival shows the file was not
// rewritten.
const std::string kBook =
    "名称,电话,地址,备注\r\n"
    "陈静,0571-88886666,杭州市文三路 90 号,\r\n"
    "\"华东贸易有限公司, 销售部\",021-62781234,上海市,\"总机 \"\"8\"\"\"\r\n"
    "张伟,010-66668888,,常联系\r\n";

class CTestContactsApp : public CContactsApp {
public:
    using CContactsApp::LoadSuiteSettings;
};

class ContactsDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.LoadSuiteSettings(IDS_REG_ERROR));
        m_app.SetAppName("地址簿");
        WriteFileBytes(BookPath(), kBook);
    }
    void TearDown() override { m_dialog.reset(); }

    std::string BookPath() const { return m_settings.ProgramFolder() + "Addr.csv"; }
    void Open() {
        m_dialog = std::make_unique<CContactsDlg>(m_app);
        ASSERT_NE(m_dialog->Create(nullptr), nullptr);
        ShowWindow(Dialog(), SW_SHOW);
    }
    HWND Dialog() const { return m_dialog->GetSafeHwnd(); }
    HWND List() const { return GetDlgItem(Dialog(), IDC_BOOK); }
    int Rows() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int id) const {
        char text[260] = {};
        GetDlgItemTextA(Dialog(), id, text, sizeof text);
        return text;
    }
    std::string Cell(int row, int column) const { return ListCellText(List(), row, column); }
    void Type(const char* phone, const char* name, const char* address = "", const char* remarks = "") {
        SetDlgItemTextA(Dialog(), IDC_PHONE, phone);
        SetDlgItemTextA(Dialog(), IDC_NAME, name);
        SetDlgItemTextA(Dialog(), IDC_ADDRESS, address);
        SetDlgItemTextA(Dialog(), IDC_REMARKS, remarks);
    }
    void Click(int id) {
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(Dialog(), id)));
    }
    void Select(int row) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    // The list's click notification, as the control sends it for a click at a client point.
    void ClickList(POINT at) {
        NMITEMACTIVATE click{};
        click.hdr = {List(), IDC_BOOK, static_cast<UINT>(NM_CLICK)};
        click.iItem = -1;
        click.ptAction = at;
        SendMessageA(Dialog(), WM_NOTIFY, IDC_BOOK, reinterpret_cast<LPARAM>(&click));
    }
    RECT RowRect(int row) const {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageA(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CTestContactsApp m_app;
    std::unique_ptr<CContactsDlg> m_dialog;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(ContactsDlgTest, OpensAtItsSizeWithTheBookLoaded) {
    Open();
    RECT window, client;
    GetWindowRect(Dialog(), &window);
    GetClientRect(Dialog(), &client);
    EXPECT_EQ(window.right - window.left, 416);
    EXPECT_EQ(client.bottom, 381);
    RECT clear;
    GetWindowRect(GetDlgItem(Dialog(), IDC_CLEAR), &clear);
    MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&clear), 2);
    EXPECT_EQ(clear.left, 338);
    EXPECT_EQ(clear.top, 227);
    EXPECT_EQ(clear.right - clear.left, 58);
    EXPECT_EQ(clear.bottom - clear.top, 102);

    EXPECT_FALSE(GetWindowLongA(List(), GWL_STYLE) & LVS_SHOWSELALWAYS) << "the highlight goes with the focus";
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Cell(1, 0), "华东贸易有限公司, 销售部");
    EXPECT_EQ(Cell(1, 3), "总机 \"8\"");
    EXPECT_EQ(m_dialog->CurrentRow(), -1);
    EXPECT_FALSE(m_dialog->IsDirty());
    EXPECT_TRUE(m_boxes.Calls().empty());

    HMENU system = GetSystemMenu(Dialog(), FALSE);
    const int items = GetMenuItemCount(system);
    char last[64] = {};
    GetMenuStringA(system, items - 1, last, sizeof last, MF_BYPOSITION);
    EXPECT_STREQ(last, "关于地址簿...");
    EXPECT_EQ(GetMenuItemID(system, items - 1), UINT(IDM_ABOUTBOX));
}

TEST_F(ContactsDlgTest, SelectingOrClickingARowShowsItInTheBoxes) {
    Open();
    Select(2);
    EXPECT_EQ(Text(IDC_NAME), "张伟");
    EXPECT_EQ(Text(IDC_PHONE), "010-66668888");
    EXPECT_EQ(Text(IDC_REMARKS), "常联系");
    EXPECT_EQ(m_dialog->CurrentRow(), 2);

    const RECT first = RowRect(0);
    ClickList({first.left + 20, (first.top + first.bottom) / 2});
    EXPECT_EQ(Text(IDC_NAME), "陈静");
    EXPECT_EQ(Text(IDC_ADDRESS), "杭州市文三路 90 号");
    EXPECT_EQ(m_dialog->CurrentRow(), 0);

    // Below the last row: the boxes stay as they are.
    const RECT last = RowRect(2);
    ClickList({last.left + 20, last.bottom + 30});
    EXPECT_EQ(Text(IDC_NAME), "陈静");
    EXPECT_EQ(m_dialog->CurrentRow(), -1);

    Click(IDC_CLEAR);
    EXPECT_EQ(Text(IDC_NAME) + Text(IDC_PHONE) + Text(IDC_ADDRESS) + Text(IDC_REMARKS), "");
}

TEST_F(ContactsDlgTest, AddNeedsANameAndAPhone) {
    Open();
    Type("", "");
    Click(IDC_ADD);
    Type("", "李娜");
    Click(IDC_ADD);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "未输入名称");
    EXPECT_EQ(m_boxes.Calls()[1].text, "未输入电话号码");
    EXPECT_EQ(m_boxes.Calls()[1].caption, "地址簿");
    EXPECT_EQ(m_boxes.Calls()[1].type, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(Rows(), 3);
    EXPECT_FALSE(m_dialog->IsDirty());
}

TEST_F(ContactsDlgTest, AddedEntriesGoInNameOrderAndKeepTheBoxes) {
    Open();
    // Code page 936 order: 陈 B3C2 < 华 BBAA < 张 D5C5, and single-byte names before all of them.
    Type("0571-1", "陈静");
    Click(IDC_ADD);
    EXPECT_TRUE(m_boxes.Calls().empty());
    EXPECT_TRUE(m_dialog->IsDirty());
    EXPECT_EQ(Text(IDC_NAME), "陈静") << "the boxes keep their texts";
    Type("0571-2", "A Co.");
    Click(IDC_ADD);
    ASSERT_EQ(Rows(), 5);
    EXPECT_EQ(Cell(0, 0), "A Co.") << "before every row, as all loaded names are greater";
    EXPECT_EQ(Cell(1, 1), "0571-88886666");
    EXPECT_EQ(Cell(2, 1), "0571-1") << "same name, another phone: after the existing one";
    EXPECT_EQ(Cell(3, 0), "华东贸易有限公司, 销售部");
}

TEST_F(ContactsDlgTest, ReplacingAnEntryIsAskedAndCancelChangesNothing) {
    Open();
    Type("010-66668888", "张伟", "北京", "新");
    m_boxes.Answer(IDCANCEL);
    Click(IDC_ADD);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "此名已被输入\n您想更换这个吗？");
    EXPECT_EQ(Cell(2, 3), "常联系");
    EXPECT_FALSE(m_dialog->IsDirty());

    m_boxes.Answer(IDOK);
    Click(IDC_ADD);
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Cell(2, 2), "北京");
    EXPECT_EQ(Cell(2, 3), "新");
    EXPECT_TRUE(m_dialog->IsDirty());
}

TEST_F(ContactsDlgTest, DeleteAsksForTheSelectedRowOnly) {
    Open();
    Click(IDC_DELETE);
    EXPECT_TRUE(m_boxes.Calls().empty()) << "nothing selected, nothing asked";
    Select(0);
    m_boxes.Answer(IDCANCEL);
    Click(IDC_DELETE);
    EXPECT_EQ(Rows(), 3);
    EXPECT_FALSE(m_dialog->IsDirty());
    m_boxes.Answer(IDOK);
    Click(IDC_DELETE);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].text, "这个地址记录会被删除，确定否？");
    EXPECT_EQ(m_boxes.Calls()[1].type, UINT(MB_OKCANCEL));
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), "华东贸易有限公司, 销售部");
    EXPECT_TRUE(m_dialog->IsDirty());
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
}

TEST_F(ContactsDlgTest, ExitWithoutChangesLeavesTheFileAlone) {
    Open();
    Click(IDC_EXIT);
    EXPECT_EQ(m_dialog->GetSafeHwnd(), nullptr) << "the dialog ended";
    EXPECT_EQ(ReadFileBytes(BookPath()), kBook);
}

TEST_F(ContactsDlgTest, EscAfterChangesLeavesTheFileAlone) {
    Open();
    Type("1", "新");
    Click(IDC_ADD);
    ASSERT_TRUE(m_dialog->IsDirty());
    SendMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(m_dialog->GetSafeHwnd(), nullptr);
    EXPECT_EQ(ReadFileBytes(BookPath()), kBook);
}

TEST_F(ContactsDlgTest, ExitAfterAChangeWritesTheBookAsShown) {
    Open();
    Type("0571-1", "\"Q\" 公司, 杭州");
    Click(IDC_ADD);
    Click(IDC_EXIT);
    EXPECT_EQ(ReadFileBytes(BookPath()),
              "\"\"\"Q\"\" 公司, 杭州\",0571-1,,\r\n"
              "陈静,0571-88886666,杭州市文三路 90 号,\r\n"
              "\"华东贸易有限公司, 销售部\",021-62781234,上海市,\"总机 \"\"8\"\"\"\r\n"
              "张伟,010-66668888,,常联系\r\n");
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(ContactsDlgTest, TheCloseBoxSavesAChangedBookToo) {
    Open();
    Select(1);
    m_boxes.Answer(IDOK);
    Click(IDC_DELETE);
    SendMessageA(Dialog(), WM_CLOSE, 0, 0);
    EXPECT_EQ(m_dialog->GetSafeHwnd(), nullptr);
    EXPECT_EQ(ReadFileBytes(BookPath()),
              "陈静,0571-88886666,杭州市文三路 90 号,\r\n"
              "张伟,010-66668888,,常联系\r\n");
}

TEST_F(ContactsDlgTest, AReadOnlyBookIsReportedOnExitAndKeepsItsBytes) {
    Open();
    Type("1", "新");
    Click(IDC_ADD);
    SetFileAttributesA(BookPath().c_str(), FILE_ATTRIBUTE_READONLY);
    Click(IDC_EXIT);
    SetFileAttributesA(BookPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 Addr.csv");
    EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(m_dialog->GetSafeHwnd(), nullptr) << "the dialog ends all the same";
    EXPECT_EQ(ReadFileBytes(BookPath()), kBook);
}

TEST_F(ContactsDlgTest, AMissingBookIsReportedAndALaterExitCreatesIt) {
    DeleteFileA(BookPath().c_str());
    Open();
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 Addr.csv");
    EXPECT_EQ(Rows(), 0);
    Type("021-5", "王芳", "", "首个");
    Click(IDC_ADD);
    Click(IDC_EXIT);
    EXPECT_EQ(ReadFileBytes(BookPath()), "王芳,021-5,,首个\r\n");
}

TEST_F(ContactsDlgTest, ABookThatIsThereButCannotBeReadIsNeverWrittenOverAndAnEmptyOneLoadsEmpty) {
    // Held by another program without sharing while the dialog opens: nothing of it could be read.
    HANDLE locked = CreateFileA(BookPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    Open();
    CloseHandle(locked);
    EXPECT_EQ(Rows(), 0);
    Type("1", "新");
    Click(IDC_ADD);
    Click(IDC_EXIT);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].text, "不能打开文件 Addr.csv");
    EXPECT_EQ(ReadFileBytes(BookPath()), kBook);

    WriteFileBytes(BookPath(), "");
    Open();
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(m_boxes.Calls().size(), 2u) << "an empty book is a book";
    Type("2", "首");
    Click(IDC_ADD);
    Click(IDC_EXIT);
    EXPECT_EQ(ReadFileBytes(BookPath()), "首,2,,\r\n");
}

TEST_F(ContactsDlgTest, OverlongTypedTextIsCutOnACharacterBoundary) {
    Open();
    std::string name;
    for (int i = 0; i < 40; ++i)
        name += "王";
    Type("0123456789012345678901234567890123456789", ("a" + name).c_str());
    Click(IDC_ADD);
    Click(IDC_EXIT);
    const std::string book = ReadFileBytes(BookPath());
    const std::string expectedName = "a" + name.substr(0, 62);  // 63 bytes: a 64th would split a character
    EXPECT_EQ(book.substr(0, book.find("\r\n")), expectedName + ",01234567890123456789012345678901,,");
}

TEST_F(ContactsDlgTest, HelpOpensTheDialogsTopic) {
    CRecordingHelp help;
    CScopedSeam<IHelpEngine> seam(help);
    Open();
    Click(IDC_HELP_BUTTON);
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].file, m_settings.ProgramFolder() + "Mirolo.hlp");
    EXPECT_EQ(help.Calls()[0].command, UINT(HELP_CONTEXT));
    EXPECT_EQ(help.Calls()[0].data, ULONG_PTR(210));
}

TEST_F(ContactsDlgTest, FocusOnTheListMarksTheFirstRowWithoutSelectingIt) {
    Open();
    SetFocus(List());
    EXPECT_EQ(SendMessageA(List(), LVM_GETITEMSTATE, 0, LVIS_FOCUSED | LVIS_SELECTED), LVIS_FOCUSED);
    EXPECT_EQ(Text(IDC_NAME), "");
}

TEST_F(ContactsDlgTest, TheBoxesTakeNoMoreBytesThanTheirFieldsAndWriteInDarkLegibleText) {
    Open();
    HWND name = GetDlgItem(Dialog(), IDC_NAME);
    SetFocus(name);
    // 王 typed 40 times, 80 bytes: as the message loop hands it to the window, and as an input method sends it.
    for (int i = 0; i < 40; ++i) {
        if (i % 2)
            SendMessageW(name, WM_CHAR, 0x738B, 1);
        else
            SendMessageA(name, WM_CHAR, 0xF5CD, 1);  // lead byte low, trail byte high
    }
    std::string wang;
    for (int i = 0; i < 32; ++i)
        wang += "王";
    EXPECT_EQ(Text(IDC_NAME), wang) << "64 bytes, the field's size";

    SetDlgItemTextA(Dialog(), IDC_NAME, "北京市海淀区中关村大街");
    RedrawWindow(name, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(name, &client);
    HDC dc = GetDC(name);
    int dark = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            dark += GetRValue(GetPixel(dc, x, y)) < 0x60;
    ReleaseDC(name, dc);
    EXPECT_GT(dark, 30) << "pale hairlines look like a disabled box";
}
