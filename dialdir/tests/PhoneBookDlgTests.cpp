#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/testing/InstalledSettings.h"
#include "common/testing/ListReading.h"
#include "dialdir/DialdirApp.h"
#include "dialdir/PhoneBookDlg.h"
#include "dialdir/resource.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"

namespace {
// A heading line is dropped whenever the book is written, so its survival shows the file was not rewritten.
// The phone "电话" is a heading word of the address book program only: this library keeps that line.
const std::string kBook =
    "名称,电话号码,地址,备注\r\n"
    "陈静,0571-88886666,杭州市文三路 90 号,老客户\r\n"
    "李四,电话,,\r\n"
    "张伟,010-66668888,北京,常联系\r\n";

class PhoneBookDlgTest : public testing::Test {
protected:
    void SetUp() override { WriteFileBytes(BookPath(), kBook); }
    void TearDown() override { m_dialog.reset(); }

    std::string BookPath() const { return m_settings.ProgramFolder() + "Addr.csv"; }
    void Open() {
        m_app = std::make_unique<CDialdirApp>(GetModuleHandleA(nullptr));
        m_dialog = std::make_unique<CPhoneBookDlg>(*m_app);
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
    RECT Place(int id) const {
        RECT r;
        GetWindowRect(GetDlgItem(Dialog(), id), &r);
        MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    AddressRecord Entry(int index) const {
        AddressRecord r;
        EXPECT_EQ(m_dialog->ResultEntry(index, r.name, r.phone, r.address, r.remarks), 1);
        return r;
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
    std::unique_ptr<CDialdirApp> m_app;
    std::unique_ptr<CPhoneBookDlg> m_dialog;
};
}  // namespace

TEST_F(PhoneBookDlgTest, OpensAtItsSizeWithThePhoneBookHeadings) {
    Open();
    RECT window, client;
    GetWindowRect(Dialog(), &window);
    GetClientRect(Dialog(), &client);
    EXPECT_EQ(window.right - window.left, 446);
    EXPECT_EQ(client.bottom, 402);
    const RECT ok = Place(IDOK);
    EXPECT_EQ(ok.left, 251);
    EXPECT_EQ(ok.top, 311);
    EXPECT_EQ(ok.right - ok.left, 43);
    EXPECT_EQ(ok.bottom - ok.top, 33);
    const RECT key = Place(IDC_KEY_MINUS);
    EXPECT_EQ(key.left, 345);
    EXPECT_EQ(key.top, 325);

    EXPECT_EQ(SendMessageA(List(), LVM_GETCOLUMNWIDTH, 0, 0), 150);
    char heading[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = sizeof heading;
    SendMessageA(List(), LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(heading, "电话号码");
    EXPECT_FALSE(GetWindowLongPtrA(List(), GWL_STYLE) & LVS_SINGLESEL);

    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Cell(1, 1), "电话");
    EXPECT_EQ(Cell(2, 3), "常联系");
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(PhoneBookDlgTest, OkReturnsTheSelectedRowsInListOrderAndLeavesAnUnchangedBookAlone) {
    Open();
    Select(2);
    Select(0);
    Click(IDOK);
    EXPECT_FALSE(IsWindow(Dialog()));
    ASSERT_EQ(m_dialog->ResultCount(), 2);
    const AddressRecord first = Entry(0), second = Entry(1);
    EXPECT_STREQ(first.name, "陈静");
    EXPECT_STREQ(first.remarks, "老客户");
    EXPECT_STREQ(second.name, "张伟");
    EXPECT_STREQ(second.phone, "010-66668888");
    EXPECT_STREQ(second.address, "北京");
    EXPECT_EQ(m_dialog->ResultEntry(2, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(ReadFileBytes(BookPath()), kBook);
}

TEST_F(PhoneBookDlgTest, OkWithoutSelectionWantsATypedNumber) {
    Open();
    Type("", "王五");
    Click(IDOK);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "没有选择!!");
    EXPECT_EQ(m_boxes.Calls()[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    ASSERT_TRUE(IsWindow(Dialog()));
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
    EXPECT_EQ(m_dialog->ResultCount(), 0);

    Type("0755-12345678", "", "深圳");
    Click(IDOK);
    ASSERT_EQ(m_dialog->ResultCount(), 1);
    const AddressRecord typed = Entry(0);
    EXPECT_STREQ(typed.phone, "0755-12345678");
    EXPECT_STREQ(typed.name, "");
    EXPECT_STREQ(typed.address, "深圳");
}

TEST_F(PhoneBookDlgTest, DialPadTypesAtTheCaretUntilThePhoneIsFull) {
    Open();
    Type("12", "");
    SendDlgItemMessageA(Dialog(), IDC_PHONE, EM_SETSEL, 1, 1);
    SetFocus(GetDlgItem(Dialog(), IDC_NAME));
    Click(IDC_KEY_PAUSE);
    EXPECT_EQ(Text(IDC_PHONE), "1;2");
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IDC_PHONE));
    SendDlgItemMessageA(Dialog(), IDC_PHONE, EM_SETSEL, 3, 3);
    Click(IDC_KEY_STAR);
    Click(IDC_KEY_HASH);
    Click(IDC_KEY_MINUS);
    Click(IDC_KEY_0);
    EXPECT_EQ(Text(IDC_PHONE), "1;2*#-0");

    const std::string full(32, '9');
    Type(full.c_str(), "");
    SetFocus(GetDlgItem(Dialog(), IDC_NAME));
    Click(IDC_KEY_1);
    EXPECT_EQ(Text(IDC_PHONE), full);
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IDC_NAME));
}

TEST_F(PhoneBookDlgTest, AddWantsANameFirst) {
    Open();
    Type("", "");
    Click(IDC_ADD);
    Type("123", "");
    Click(IDC_ADD);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "未输入名称");
    EXPECT_EQ(m_boxes.Calls()[1].text, "未输入名称");
    EXPECT_EQ(m_boxes.Calls()[0].type & MB_ICONMASK, UINT(MB_ICONINFORMATION));
    Type("", "赵六");
    Click(IDC_ADD);
    EXPECT_EQ(m_boxes.Calls().back().text, "未输入电话号码");
    EXPECT_EQ(Rows(), 3);
    EXPECT_FALSE(m_dialog->IsDirty());
}

TEST_F(PhoneBookDlgTest, RefusedReplacementStillRewritesTheBookOnCancel) {
    Open();
    Type("010-66668888", "张伟", "上海");
    m_boxes.Answer(IDCANCEL);
    Click(IDC_ADD);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "此名已被输入\n您想更换这个吗?");
    EXPECT_EQ(Cell(2, 2), "北京");
    EXPECT_TRUE(m_dialog->IsDirty());
    Click(IDCANCEL);
    EXPECT_FALSE(IsWindow(Dialog()));
    EXPECT_EQ(m_dialog->ResultCount(), 0);
    EXPECT_EQ(ReadFileBytes(BookPath()),
              "陈静,0571-88886666,杭州市文三路 90 号,老客户\r\n"
              "李四,电话,,\r\n"
              "张伟,010-66668888,北京,常联系\r\n");
}

TEST_F(PhoneBookDlgTest, AddedEntryIsSavedInNameOrderWhenOkChoosesIt) {
    Open();
    Type("021-1", "Bob", "", "新");
    Click(IDC_ADD);
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(Cell(0, 0), "Bob");
    Select(0);
    Click(IDOK);
    ASSERT_EQ(m_dialog->ResultCount(), 1);
    EXPECT_STREQ(Entry(0).remarks, "新");
    EXPECT_EQ(ReadFileBytes(BookPath()).rfind("Bob,021-1,,新\r\n陈静,", 0), 0u);
}

TEST_F(PhoneBookDlgTest, DeleteRemovesEverySelectedRowAfterOneQuestion) {
    Open();
    Select(1);
    Select(2);
    Click(IDC_DELETE);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "这个地址记录会被删除，确定否？");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), "陈静");
    EXPECT_EQ(m_dialog->Book().Count(), 1);
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
    Click(IDCANCEL);
    EXPECT_EQ(ReadFileBytes(BookPath()), "陈静,0571-88886666,杭州市文三路 90 号,老客户\r\n");
}

TEST_F(PhoneBookDlgTest, DeleteWithoutSelectionAsksButChangesNothing) {
    Open();
    Click(IDC_DELETE);
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(Rows(), 3);
    EXPECT_FALSE(m_dialog->IsDirty());

    Select(0);
    m_boxes.Answer(IDCANCEL);
    Click(IDC_DELETE);
    EXPECT_EQ(Rows(), 3);
    Click(IDCANCEL);
    EXPECT_EQ(ReadFileBytes(BookPath()), kBook);
}

TEST_F(PhoneBookDlgTest, FocusedRowAndClearFillAndEmptyTheBoxes) {
    Open();
    Select(1);
    EXPECT_EQ(Text(IDC_NAME), "李四");
    EXPECT_EQ(Text(IDC_PHONE), "电话");
    Click(IDC_CLEAR);
    for (int id : {IDC_PHONE, IDC_NAME, IDC_ADDRESS, IDC_REMARKS})
        EXPECT_EQ(Text(id), "");
}

TEST_F(PhoneBookDlgTest, HelpOpensTheSuiteHelpAtThePhoneBookTopic) {
    CRecordingHelp help;
    CScopedSeam<IHelpEngine> helpSeam(help);
    Open();
    Click(IDC_HELP_BUTTON);
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].file, m_settings.ProgramFolder() + "Mirolo.hlp");
    EXPECT_EQ(help.Calls()[0].data, 270u);
}

TEST(DialdirAppTest, MissingProgramFolderIsReportedOnceAndTheOthersStayRead) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    settings.Remove("PROGRAM_DIR");
    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    CDialdirApp app(GetModuleHandleA(nullptr));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "注册错误!");
    EXPECT_EQ(boxes.Calls()[0].caption, "电话");
    EXPECT_EQ(boxes.Calls()[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(app.TempFolder(), settings.TempFolder());
    EXPECT_EQ(app.ProgramFolder(), "");
}

TEST_F(PhoneBookDlgTest, ClickingARowShowsItAndTheListGivesRowZeroTheFocusWithoutSelecting) {
    Open();
    SetFocus(List());
    EXPECT_EQ(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);
    EXPECT_EQ(SendMessageA(List(), LVM_GETSELECTEDCOUNT, 0, 0), 0);

    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageA(List(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    NMITEMACTIVATE click{};
    click.hdr = {List(), IDC_BOOK, static_cast<UINT>(NM_CLICK)};
    click.iItem = -1;
    click.ptAction = {row.left + 5, (row.top + row.bottom) / 2};
    SendMessageA(Dialog(), WM_NOTIFY, IDC_BOOK, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Text(IDC_NAME), "张伟");
    EXPECT_EQ(Text(IDC_ADDRESS), "北京");
}

// What the number box shows is what OK sends: no row is taken unless picked, and a number typed or dialled
// after picking one replaces it; quick presses of a key each count.
TEST_F(PhoneBookDlgTest, WhatTheNumberBoxShowsIsWhatOkSends) {
    Open();
    SetFocus(List());
    EXPECT_EQ(Text(IDC_PHONE), "") << "the first row has the focus, but nobody picked it";
    Click(IDOK);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "没有选择!!");

    Select(2);
    EXPECT_EQ(Text(IDC_PHONE), "010-66668888");
    HWND phone = GetDlgItem(Dialog(), IDC_PHONE);
    SetFocus(phone);
    SendMessageA(phone, EM_SETSEL, 0, -1);
    for (char c : std::string("021-"))
        SendMessageA(phone, WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(SendMessageA(List(), LVM_GETSELECTEDCOUNT, 0, 0), 0) << "typing takes the row's place";
    // Four quick presses of 5: the second of each pair comes as a double click.
    HWND five = GetDlgItem(Dialog(), IDC_KEY_5);
    for (UINT down : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        SendMessageA(five, down, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(five, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    EXPECT_EQ(Text(IDC_PHONE), "021-5555");
    Click(IDOK);
    ASSERT_EQ(m_dialog->ResultCount(), 1);
    EXPECT_STREQ(Entry(0).phone, "021-5555");
    EXPECT_STREQ(Entry(0).name, "张伟");
}
