#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/AddressBook.h"
#include "common/CommonResources.h"
#include "common/testing/ListReading.h"
#include "common/tests/TestResources.h"
#include "framework/Dialog.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"

namespace {
const AddressBookSetup kSetup{
    {{IDS_COLUMN_NAME, 130}, {IDS_COLUMN_PHONE, 150}, {IDS_COLUMN_ADDRESS, 200}, {IDS_COLUMN_REMARKS, 200}},
    IDS_TEST_OVERFLOW,
    IDS_TEST_REPLACE};

AddressEntry Entry(std::string name, std::string phone, std::string address = "", std::string remarks = "") {
    return {std::move(name), std::move(phone), std::move(address), std::move(remarks)};
}

class AddressBookListTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Create(nullptr));
        ShowWindow(m_host.GetSafeHwnd(), SW_SHOW);
        m_book.Attach(m_host.GetSafeHwnd(), List(), m_path);
        m_book.InsertColumns();
    }

    HWND List() const { return GetDlgItem(m_host.GetSafeHwnd(), IDC_TEST_LIST); }
    int ListCount() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) const { return ListCellText(List(), row, column); }
    LPARAM ItemData(int row) const {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }
    std::string Names() const {
        std::string names;
        for (int row = 0; row < ListCount(); ++row)
            names += Cell(row, 0) + "/" + Cell(row, 1) + " ";
        return names;
    }
    static std::string NumberedBook(int lines) {
        std::string book;
        for (int i = 0; i < lines; ++i)
            book += "n" + std::to_string(i) + "," + std::to_string(i) + ",,\r\n";
        return book;
    }

    CTempFolder m_folder;
    const std::string m_path = m_folder.Path() + "Addr.csv";
    CDialog m_host{IDD_TEST_BOOK};
    CAddressBook m_book{kSetup};
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(AddressBookListTest, LoadingShowsEveryLineAsARowWithItsRecord) {
    WriteFileBytes(m_path,
                   "名称,电话,地址,备注\r\n"
                   "\"Sales, East\",0571-8888,,\r\n"
                   "王小明,13800001111,杭州市\"西湖区, 文三路\",\"说\"\"好\"\"的\"\r\n"
                   "\r\n"
                   "only remarks\r\n"
                   "x,电话,y,z\r\n"
                   "a,电话号码,b,c");
    ASSERT_TRUE(m_book.Load());
    EXPECT_TRUE(m_boxes.Calls().empty());
    ASSERT_EQ(ListCount(), 5) << "the heading lines are dropped";
    ASSERT_EQ(m_book.Count(), 5);
    EXPECT_EQ(Cell(0, 0), "Sales, East");
    EXPECT_EQ(Cell(0, 1), "0571-8888");
    EXPECT_EQ(Cell(1, 0), "王小明");
    EXPECT_EQ(Cell(1, 2), "杭州市西湖区, 文三路");
    EXPECT_EQ(Cell(1, 3), "说\"好\"的");
    EXPECT_EQ(Cell(2, 0), "") << "an empty line is an empty entry";
    EXPECT_EQ(Cell(3, 3), "only remarks");
    EXPECT_EQ(Cell(3, 0), "") << "nothing left over from the line before";
    EXPECT_EQ(Cell(4, 1), "电话号码") << "another program's heading is an ordinary phone here";
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(ItemData(row), reinterpret_cast<LPARAM>(&m_book.Record(row)));
    EXPECT_STREQ(m_book.Record(1).address, "杭州市西湖区, 文三路");
    EXPECT_TRUE(IsWindowEnabled(m_host.GetSafeHwnd())) << "the busy state ended";
}

TEST_F(AddressBookListTest, ABookThePprogramWroteIsSavedBackByteForByte) {
    const std::string book =
        "\"Sales, East\",0571-8888,,\r\n"
        "王小明,13800001111,\"杭州市\"\"西湖\"\"\",\r\n"
        ",,,\r\n"
        "乗俓,81-5C,\"a,b\",c\r\n";
    WriteFileBytes(m_path, book);
    ASSERT_TRUE(m_book.Load());
    ASSERT_TRUE(m_book.Save());
    EXPECT_EQ(ReadFileBytes(m_path), book);
}

TEST_F(AddressBookListTest, AMissingBookIsReportedAndCreatedByTheFirstSave) {
    EXPECT_FALSE(m_book.Load());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 Addr.csv");
    EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ListCount(), 0);
    EXPECT_TRUE(IsWindowEnabled(m_host.GetSafeHwnd()));

    EXPECT_EQ(m_book.Insert(Entry("李四", "020-1234", "", "new"), true), 1);
    ASSERT_TRUE(m_book.Save());
    EXPECT_EQ(ReadFileBytes(m_path), "李四,020-1234,,new\r\n");
}

TEST_F(AddressBookListTest, AddingKeepsNameOrderAndAsksBeforeReplacing) {
    WriteFileBytes(m_path, "b,2,,\r\nd,4,,\r\n");
    ASSERT_TRUE(m_book.Load());
    EXPECT_EQ(m_book.Insert(Entry("c", "3"), true), 1);
    EXPECT_EQ(m_book.Insert(Entry("a", "1"), true), 1);
    EXPECT_EQ(m_book.Insert(Entry("张", "9"), true), 1) << "double-byte names sort after single-byte ones";
    EXPECT_EQ(m_book.Insert(Entry("b", "22"), true), 1) << "same name, other phone: a second row";
    EXPECT_EQ(Names(), "a/1 b/2 b/22 c/3 d/4 张/9 ");
    EXPECT_TRUE(m_boxes.Calls().empty());

    m_boxes.Answer(IDCANCEL);
    EXPECT_EQ(m_book.Insert(Entry("b", "2", "kept?", "no"), true), 0);
    EXPECT_EQ(Cell(1, 2), "");
    m_boxes.Answer(IDOK);
    EXPECT_EQ(m_book.Insert(Entry("b", "2", "new address", "new remarks"), true), 1);
    EXPECT_EQ(Names(), "a/1 b/2 b/22 c/3 d/4 张/9 ") << "a replaced row keeps its place";
    EXPECT_EQ(Cell(1, 2), "new address");
    EXPECT_EQ(Cell(1, 3), "new remarks");
    EXPECT_STREQ(m_book.Record(1).remarks, "new remarks");
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "此名已被输入\n您想更换这个吗？");
    EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_OKCANCEL | MB_ICONINFORMATION));

    // Without the check, as for loaded lines, the entry goes last even when it equals a row.
    EXPECT_EQ(m_book.Insert(Entry("a", "1"), false), 1);
    EXPECT_EQ(Cell(6, 0), "a");
    EXPECT_EQ(m_boxes.Calls().size(), 2u);
}

TEST_F(AddressBookListTest, DeletingARowFreesItAndShiftsTheOthers) {
    WriteFileBytes(m_path, "a,1,,\r\nb,2,,\r\nc,3,,\r\n");
    ASSERT_TRUE(m_book.Load());
    m_book.DeleteRow(1);
    m_book.DeleteRow(7);
    m_book.DeleteRow(-1);
    EXPECT_EQ(Names(), "a/1 c/3 ");
    EXPECT_EQ(ItemData(1), reinterpret_cast<LPARAM>(&m_book.Record(1)));
    ASSERT_TRUE(m_book.Save());
    EXPECT_EQ(ReadFileBytes(m_path), "a,1,,\r\nc,3,,\r\n");
}

TEST_F(AddressBookListTest, AReadOnlyBookIsReportedOnSaveAndKeepsItsBytes) {
    WriteFileBytes(m_path, "a,1,,\r\n");
    ASSERT_TRUE(m_book.Load());
    m_book.Insert(Entry("b", "2"), true);
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(m_book.Save());
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 Addr.csv");
    EXPECT_EQ(ReadFileBytes(m_path), "a,1,,\r\n");
    EXPECT_TRUE(IsWindowEnabled(m_host.GetSafeHwnd()));
}

TEST_F(AddressBookListTest, LinesPastTheLimitAreReportedOnceAndNotLostOnSave) {
    const std::string book = NumberedBook(10003);
    WriteFileBytes(m_path, book);
    ASSERT_TRUE(m_book.Load());
    EXPECT_EQ(ListCount(), 10000);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "溢出！");
    EXPECT_EQ(Cell(9999, 0), "n9999");

    // A full list takes neither a new entry nor a replacement.
    EXPECT_EQ(m_book.Insert(Entry("new", "1"), true), 0);
    EXPECT_EQ(m_book.Insert(Entry("n5", "5", "x"), true), 0);
    ASSERT_EQ(m_boxes.Calls().size(), 3u);
    EXPECT_EQ(m_boxes.Calls()[2].text, "溢出！");

    ASSERT_TRUE(m_book.Save());
    EXPECT_EQ(ReadFileBytes(m_path), book) << "the lines that were not shown are written back after the rows";
}

TEST_F(AddressBookListTest, ALongLoadShowsAProgressWindowThatClosesItself) {
    WriteFileBytes(m_path, NumberedBook(3000));
    ASSERT_GT(ReadFileBytes(m_path).size(), 30000u);
    ASSERT_TRUE(m_book.Load());
    HWND progress = FindWindowA(nullptr, "地址簿");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(GetWindow(progress, GW_OWNER), m_host.GetSafeHwnd());
    char text[64] = {};
    GetDlgItemTextA(progress, 107, text, sizeof text);
    EXPECT_STREQ(text, "加入数据...");
    EXPECT_EQ(SendDlgItemMessageA(progress, 106, PBM_GETPOS, 0, 0), 100);

    const DWORD until = GetTickCount() + 3000;
    MSG msg;
    while (IsWindow(progress) && GetTickCount() < until) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    EXPECT_FALSE(IsWindow(progress));
}

TEST_F(AddressBookListTest, ASmallBookIsHandledWithoutAProgressWindow) {
    WriteFileBytes(m_path, NumberedBook(499));
    ASSERT_TRUE(m_book.Load());
    ASSERT_TRUE(m_book.Save());
    m_book.Clear();
    EXPECT_EQ(FindWindowA(nullptr, "地址簿"), nullptr);
    EXPECT_EQ(ListCount(), 0);
    EXPECT_EQ(m_book.Count(), 0);
    EXPECT_FALSE(IsWindowVisible(m_host.GetSafeHwnd())) << "clearing hides the dialog";
}
