#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/core/LogLine.h"
#include "common/testing/InstalledSettings.h"
#include "common/testing/ListReading.h"
#include "framework/Handles.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "common/core/SmhWriter.h"
#include "viewer/OpenFaxDlg.h"
#include "viewer/OpenFaxReadMark.h"
#include "viewer/ViewerApp.h"
#include "viewer/resource.h"

// "打开传真" in this process: the dialog on its own with a window that takes its progress reports, and the
// Viewer's Open Fax command on the real main window.
namespace {
// Two header lines as older programs wrote them (the log's own heading and the list's), a sender named like
// the log's heading word with a real date, an unread fax, a read one and a quoted sender.
const std::string kLog =
    "从,状态,日期/时间,页数,文件,已读\r\n"
    "上海明辉电子,OK,\"Dec.08,2026 09:30:12\",3,R20261208093012.smh,0\r\n"
    "发送者,状态,\"Dec.07,2026 10:00:00\",页数,,\r\n"
    "从,OK,\"Dec.07,2026 08:15:00\",1,R20261207081500.smh,1\r\n"
    "北京华信贸易,OK,\"Dec.01,2026 08:00:00\",12,R20261201080000.smh,1\r\n"
    "\"ORVEX, SHENZHEN\",Error,\"Nov.30,2026 17:45:01\",2,R20261130174501.smh,0\r\n";
constexpr int kLogLines = 6;

// Takes the progress reports a main window would get.
class CProgressWindow : public CWnd {
public:
    bool Create() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &CWnd::StaticWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "OpenFaxTestProgress";
        RegisterClassA(&wc);
        return CreateEx(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance) != nullptr;
    }
    struct Report {
        WPARAM percent;
        LPARAM phase;
    };
    std::vector<Report> reports;
    std::vector<Report> Phase(LPARAM phase) const {
        std::vector<Report> of;
        for (const Report& r : reports)
            if (r.phase == phase)
                of.push_back(r);
        return of;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_STATUS_PROGRESS) {
            reports.push_back({wp, lp});
            return 0;
        }
        return Default(msg, wp, lp);
    }
};

// Off-screen pixels for drawing one row as the list draws it, in the list's own font.
class CSurface {
public:
    static constexpr int kWidth = 520;
    static constexpr int kHeight = 200;
    explicit CSurface(HFONT font) : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap.Reset(CreateDIBSection(m_dc.Get(), &bi, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        SelectObject(m_dc.Get(), m_bitmap.Get());
        SelectObject(m_dc.Get(), font);
        RECT all{0, 0, kWidth, kHeight};
        FillRect(m_dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    HDC Dc() const { return m_dc.Get(); }
    // Dark pixels inside `r`: the text drawn there.
    int Ink(const RECT& r) const {
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(m_bits);
        int ink = 0;
        for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, kHeight); ++y)
            for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, kWidth); ++x) {
                const uint32_t v = p[size_t(y) * kWidth + size_t(x)];
                if (((v >> 16) & 0xFF) + ((v >> 8) & 0xFF) + (v & 0xFF) < 384)
                    ++ink;
            }
        return ink;
    }

private:
    void* m_bits = nullptr;
    CBitmapHandle m_bitmap;
    CMemoryDc m_dc;
};

std::function<void(HWND)>* g_onShown;
HHOOK g_hook;

LRESULT CALLBACK CbtHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && g_onShown) {
        HWND hwnd = reinterpret_cast<HWND>(wp);
        char text[64] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (strcmp(text, "打开传真") == 0) {
            auto* callback = std::exchange(g_onShown, nullptr);
            (*callback)(hwnd);
        }
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

// Runs `action`, which opens the dialog modally; `onShown` gets the dialog once it is up and must post what
// ends it, so that the dialog's own loop carries it out.
void WhenOpenFaxShows(std::function<void(HWND)> onShown, const std::function<void()>& action) {
    g_onShown = &onShown;
    g_hook = SetWindowsHookExA(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId());
    action();
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(g_onShown, nullptr) << "the dialog never showed";
    g_onShown = nullptr;
}

void SelectRow(HWND list, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

class OpenFaxDlgTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_progress.Create()); }
    void TearDown() override {
        m_dialog.reset();
        DestroyWindow(m_progress);
    }

    void WriteLog(const std::string& bytes) { WriteFileBytes(m_settings.LogFolder() + "receive.csv", bytes); }
    void Open(std::string tempFolder = {}) {
        COpenFaxDlg::Folders folders{m_settings.RecvFolder(), m_settings.LogFolder(),
                                     tempFolder.empty() ? m_settings.TempFolder() : tempFolder};
        m_dialog = std::make_unique<COpenFaxDlg>(folders, m_progress.GetSafeHwnd());
        ASSERT_NE(m_dialog->Create(nullptr), nullptr);
        ShowWindow(Dialog(), SW_SHOW);
        UpdateWindow(Dialog());
    }
    HWND Dialog() const { return m_dialog->GetSafeHwnd(); }
    HWND List() const { return GetDlgItem(Dialog(), IDC_FAX_LIST); }
    int Rows() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) const { return ListCellText(List(), row, column); }
    const ReceiveLogRecord* RowRecord(int row) const {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return reinterpret_cast<const ReceiveLogRecord*>(item.lParam);
    }
    void Click(int id) {
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(Dialog(), id)));
    }
    void DoubleClick(int row) {
        SelectRow(List(), row);
        NMITEMACTIVATE activate{};
        activate.hdr = {List(), IDC_FAX_LIST, UINT(NM_DBLCLK)};
        activate.iItem = row;
        SendMessageA(Dialog(), WM_NOTIFY, IDC_FAX_LIST, reinterpret_cast<LPARAM>(&activate));
    }
    std::vector<std::string> ReadMarks() const { return FilesMatching(m_settings.TempFolder(), "BR*.CSV"); }
    // The row drawn as the system asks the list to draw it, into a surface of its own.
    int InkOfRow(int row) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0));
        CSurface surface(font);
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
        DRAWITEMSTRUCT dis{ODT_LISTVIEW, IDC_FAX_LIST, UINT(row), ODA_DRAWENTIRE, 0, List(), surface.Dc(), bounds, 0};
        EXPECT_TRUE(m_dialog->List().OnDrawItemReflect(dis));
        return surface.Ink(bounds);
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
    CProgressWindow m_progress;
    std::unique_ptr<COpenFaxDlg> m_dialog;
};
}  // namespace

TEST_F(OpenFaxDlgTest, ListsTheLogInFileOrderUnderItsFourColumns) {
    WriteLog(kLog);
    Open();
    char caption[32] = {};
    GetWindowTextA(Dialog(), caption, sizeof caption);
    EXPECT_STREQ(caption, "打开传真");

    const struct {
        const char* title;
        int width;
        int format;
    } columns[] = {{"发送者", 150, LVCFMT_LEFT},
                   {"状态", 50, LVCFMT_LEFT},
                   {"日期/时间", 150, LVCFMT_LEFT},
                   {"页数", 50, LVCFMT_RIGHT}};
    for (int i = 0; i < 4; ++i) {
        char title[32] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        ASSERT_TRUE(SendMessageA(List(), LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column))) << i;
        EXPECT_STREQ(title, columns[i].title) << i;
        EXPECT_EQ(column.cx, columns[i].width) << i;
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].format) << i;
    }
    LVCOLUMNA none{};
    none.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(List(), LVM_GETCOLUMNA, 4, reinterpret_cast<LPARAM>(&none)));

    const LONG_PTR style = GetWindowLongPtrA(List(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_TRUE(style & LVS_OWNERDRAWFIXED);
    EXPECT_TRUE(m_dialog->List().GetFullRowSel());

    // Neither header line shows; a sender that happens to be the log's heading word does, since only the
    // date field or this list's own heading word makes a header.
    ASSERT_EQ(Rows(), 4);
    const char* expected[4][4] = {{"上海明辉电子", "OK", "Dec.08,2026 09:30:12", "3"},
                                  {"从", "OK", "Dec.07,2026 08:15:00", "1"},
                                  {"北京华信贸易", "OK", "Dec.01,2026 08:00:00", "12"},
                                  {"ORVEX, SHENZHEN", "Error", "Nov.30,2026 17:45:01", "2"}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(Cell(row, column), expected[row][column]) << row << "," << column;
    for (int row = 0; row < 4; ++row) {
        const ReceiveLogRecord* record = RowRecord(row);
        ASSERT_NE(record, nullptr) << row;
        EXPECT_EQ(record->Field(ReceiveLogRecord::kFrom), expected[row][0]);
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.iImage, 1) << row;
    }
    EXPECT_EQ(RowRecord(0)->FileName(), "R20261208093012.smh");
    EXPECT_FALSE(RowRecord(0)->IsRead());
    EXPECT_TRUE(RowRecord(2)->IsRead());
    EXPECT_EQ(RowRecord(2)->Number(ReceiveLogRecord::kPages), 12);

    // Row 0 has the focus, none is selected or remembered yet.
    EXPECT_EQ(SendMessageA(List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 0);
    EXPECT_EQ(SendMessageA(List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), -1);
    EXPECT_EQ(m_dialog->RememberedRow(), -1);
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(OpenFaxDlgTest, ControlsSitWhereTheTemplatePutsThem) {
    WriteLog(kLog);
    Open();
    auto place = [&](int id) {
        RECT r;
        GetWindowRect(GetDlgItem(Dialog(), id), &r);
        MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const struct {
        int id;
        RECT units;
        const char* text;
    } controls[] = {
        {IDC_FAX_LIST, {7, 7, 218, 80}, ""}, {IDOK, {75, 93, 32, 14}, "确定"}, {IDCANCEL, {123, 93, 32, 14}, "取消"}};
    for (const auto& c : controls) {
        // Position and size in dialog units, each converted on its own as the dialog manager does.
        RECT expected = c.units;
        MapDialogRect(Dialog(), &expected);
        const RECT actual = place(c.id);
        EXPECT_EQ(actual.left, expected.left) << c.id;
        EXPECT_EQ(actual.top, expected.top) << c.id;
        EXPECT_EQ(actual.right - actual.left, expected.right) << c.id;
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << c.id;
        char text[32] = {};
        GetDlgItemTextA(Dialog(), c.id, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.id;
    }
}

TEST_F(OpenFaxDlgTest, UnreadFaxesAreDrawnBoldAndReadOnesInNormalWeight) {
    // The same texts twice, once unread and once read: only the weight can tell them apart.
    WriteLog(
        "北京华信贸易,OK,\"Dec.01,2026 08:00:00\",12,R1.smh,0\r\n"
        "北京华信贸易,OK,\"Dec.01,2026 08:00:00\",12,R1.smh,1\r\n"
        "北京华信贸易,OK,\"Dec.01,2026 08:00:00\",12,R1.smh,\r\n");
    Open();
    ASSERT_EQ(Rows(), 3);
    // Away from the list, so that row 0's focus rectangle adds no ink of its own.
    SetFocus(GetDlgItem(Dialog(), IDCANCEL));
    const int unread = InkOfRow(0);
    const int read = InkOfRow(1);
    EXPECT_GT(read, 0);
    EXPECT_GT(unread, read + read / 10) << "bold strokes are wider";
    EXPECT_EQ(InkOfRow(2), unread) << "an empty read flag is 0: unread";

    // A row whose record is gone counts as read.
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = 0;
    item.lParam = 0;
    SendMessageA(List(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(InkOfRow(0), read);
}

TEST_F(OpenFaxDlgTest, ADateAndPageCountInBoldFitTheirColumnsWhole) {
    WriteLog(kLog);
    Open();
    // The list shortens a cell whose text and a 12-pixel margin exceed the column; a log's date is never that.
    LOGFONTA face{};
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)), sizeof face, &face));
    face.lfWeight = FW_BOLD;
    CFontHandle bold(CreateFontIndirectA(&face));
    CSurface surface(bold.Get());
    auto width = [&](const std::string& text) {
        SIZE size{};
        GetTextExtentPoint32A(surface.Dc(), text.data(), int(text.size()), &size);
        return int(size.cx);
    };
    EXPECT_LE(width("Dec.28,2026 23:58:58") + 12, 150);
    EXPECT_LE(width("9999") + 12, 50);
    EXPECT_LE(width("Error") + 12, 50);
}

TEST_F(OpenFaxDlgTest, ReadsLinesAsTheLogViewerDoesAndCutsFileNamesOneByteShorter) {
    // 2 + 127 double-byte characters: 256 bytes, which the log keeps whole. This list keeps 255 bytes, and as
    // the last character would be split there, it ends one character earlier.
    std::string longName = "ab";
    for (int i = 0; i < 127; ++i)
        longName += "传";
    ASSERT_EQ(longName.size(), 256u);
    std::string asciiName(300, 'x');
    // Leading spaces of a field are dropped: they make a line of exactly 374 bytes with its line end, the
    // longest that the log viewer reads whole.
    std::string longest = "张伟,OK,\"Dec.02,2026 11:00:00\",1," + std::string(200, ' ') + "R2.smh,1";
    longest += std::string(373 - longest.size(), ' ');
    ASSERT_EQ(longest.size() + 1, 374u);
    WriteLog("陈静,OK,\"Dec.03,2026 12:00:00\",4," + longName + ",0\r\n" + longest + "\r\n" +
             "李娜,OK,\"Dec.01,2026 10:00:00\",2," + asciiName + ",0\r\n");
    Open();
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(RowRecord(0)->FileName(), longName.substr(0, 254));
    EXPECT_EQ(RowRecord(0)->Number(ReceiveLogRecord::kRead), 0);
    EXPECT_EQ(RowRecord(1)->FileName(), "R2.smh");
    EXPECT_EQ(Cell(1, 0), "张伟");
    EXPECT_EQ(RowRecord(2)->FileName(), std::string(255, 'x'));
    EXPECT_EQ(Cell(2, 0), "李娜");
}

TEST_F(OpenFaxDlgTest, ALineLongerThanTheReaderTakesIsReadOnAsTheNextLine) {
    // 375 bytes before the line end: the reader takes 374 at a time, so the last byte starts a line of its own.
    std::string line = "张伟,OK,\"Dec.02,2026 11:00:00\",1," + std::string(200, ' ') + "R2.smh,1";
    line += std::string(374 - line.size(), ' ') + "7";
    WriteLog(line + "\r\n");
    Open();
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(RowRecord(0)->FileName(), "R2.smh");
    EXPECT_EQ(RowRecord(1)->Field(ReceiveLogRecord::kFrom), "");
    EXPECT_EQ(RowRecord(1)->Field(ReceiveLogRecord::kRead), "7");
}

TEST_F(OpenFaxDlgTest, LoadingReportsTheShareOfBytesReadAfterEachLine) {
    WriteLog(kLog);
    Open();
    const auto loading = m_progress.Phase(1);
    ASSERT_EQ(loading.size(), size_t(kLogLines)) << "one report per line, headers too";
    WPARAM before = 0;
    size_t bytes = 0;
    for (size_t i = 0; i < loading.size(); ++i) {
        bytes = kLog.find("\r\n", bytes) + 2;
        EXPECT_EQ(loading[i].percent, bytes * 100 / kLog.size()) << i;
        EXPECT_GE(loading[i].percent, before);
        before = loading[i].percent;
    }
    EXPECT_EQ(loading.back().percent, 100u);
    ASSERT_FALSE(m_progress.reports.empty());
    EXPECT_EQ(m_progress.reports.back().percent, 100u);
    EXPECT_EQ(m_progress.reports.back().phase, 0);
}

TEST_F(OpenFaxDlgTest, ChoosingAnUnreadFaxLeavesItsReadMarkAndReturnsItsPath) {
    WriteLog(kLog);
    Open();
    SelectRow(List(), 3);
    EXPECT_EQ(m_dialog->RememberedRow(), 3);
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    m_progress.reports.clear();
    Click(IDOK);
    GetLocalTime(&after);

    EXPECT_FALSE(IsWindow(List())) << "the dialog closed";
    EXPECT_EQ(m_dialog->ChosenPath(), m_settings.RecvFolder() + "R20261130174501.smh");
    ASSERT_NE(m_dialog->ChosenRecord(), nullptr);
    EXPECT_EQ(m_dialog->ChosenRecord()->Field(ReceiveLogRecord::kFrom), "ORVEX, SHENZHEN");
    EXPECT_FALSE(m_dialog->ChosenRecord()->IsRead()) << "the log's record is the log viewer's to change";

    const std::vector<std::string> marks = ReadMarks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_TRUE(marks[0] == ReadMarkName(before) || marks[0] == ReadMarkName(after)) << marks[0];
    EXPECT_EQ(m_dialog->ReadMarkPath(), m_settings.TempFolder() + marks[0]);
    // The log's line with read flag 1, written in text mode, and the empty line after it.
    EXPECT_EQ(ReadFileBytes(m_settings.TempFolder() + marks[0]),
              "\"ORVEX, SHENZHEN\",Error,\"Nov.30,2026 17:45:01\",2,R20261130174501.smh,1\r\n\r\n");
    // The log itself is never written here.
    EXPECT_EQ(ReadFileBytes(m_settings.LogFolder() + "receive.csv"), kLog);

    // Four rows cleared from the last: a report for each but the first one deleted, then done.
    const auto clearing = m_progress.Phase(3);
    ASSERT_EQ(clearing.size(), 3u);
    EXPECT_EQ(clearing[0].percent, 50u);
    EXPECT_EQ(clearing[2].percent, 100u);
    EXPECT_EQ(m_progress.reports.back().percent, 100u);
    EXPECT_EQ(m_progress.reports.back().phase, 0);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(OpenFaxDlgTest, TheChosenPathStaysWithinItsBufferAndKeepsCharactersWhole) {
    std::string name = "a";
    for (int i = 0; i < 127; ++i)
        name += "传";
    WriteLog("陈静,OK,\"Dec.03,2026 12:00:00\",4," + name + ",1\r\n");
    Open();
    SelectRow(List(), 0);
    Click(IDOK);
    const std::string full = m_settings.RecvFolder() + name;
    const std::string& path = m_dialog->ChosenPath();
    ASSERT_GT(full.size(), 255u);
    EXPECT_GE(path.size(), 254u);
    EXPECT_LE(path.size(), 255u);
    EXPECT_EQ(full.compare(0, path.size(), path), 0) << "a beginning of the full path";
    // After the folder's text the name's characters are two bytes each, behind the one "a".
    EXPECT_EQ((path.size() - m_settings.RecvFolder().size() - 1) % 2, 0u) << "no half character at the end";
}

TEST_F(OpenFaxDlgTest, ADoubleClickChoosesTheRowAndAReadFaxLeavesNoMark) {
    WriteLog(kLog);
    Open();
    DoubleClick(2);
    EXPECT_FALSE(IsWindow(List()));
    EXPECT_EQ(m_dialog->ChosenPath(), m_settings.RecvFolder() + "R20261201080000.smh");
    EXPECT_TRUE(ReadMarks().empty());
    EXPECT_TRUE(m_dialog->ReadMarkPath().empty());
}

TEST_F(OpenFaxDlgTest, OkWithoutASelectionStaysInTheDialog) {
    WriteLog(kLog);
    Open();
    Click(IDOK);
    ASSERT_TRUE(IsWindow(Dialog()));
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(m_dialog->ChosenRecord(), nullptr);
    EXPECT_TRUE(m_dialog->ChosenPath().empty());
    EXPECT_TRUE(ReadMarks().empty());
}

TEST_F(OpenFaxDlgTest, CancelClearsTheListAndChoosesNothing) {
    WriteLog(kLog);
    Open();
    SelectRow(List(), 0);
    m_progress.reports.clear();
    Click(IDCANCEL);
    EXPECT_FALSE(IsWindow(List()));
    EXPECT_EQ(m_dialog->ChosenRecord(), nullptr);
    EXPECT_TRUE(m_dialog->ChosenPath().empty());
    EXPECT_TRUE(ReadMarks().empty());
    EXPECT_EQ(m_progress.Phase(3).size(), 3u);
    ASSERT_FALSE(m_progress.reports.empty());
    EXPECT_EQ(m_progress.reports.back().phase, 0);
}

TEST_F(OpenFaxDlgTest, AMissingLogIsNamedAndTheDialogOpensEmpty) {
    Open();
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 receive.csv");
    EXPECT_EQ(m_boxes.Calls()[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    ASSERT_TRUE(IsWindow(Dialog()));
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
    EXPECT_EQ(Rows(), 0);
    SetFocus(List());  // no row to give the focus to
    Click(IDOK);
    EXPECT_TRUE(IsWindow(Dialog())) << "nothing to choose";
    Click(IDCANCEL);
    EXPECT_FALSE(IsWindow(List()));
}

TEST_F(OpenFaxDlgTest, AnEmptyLogGivesAnEmptyListAndNoMessage) {
    WriteLog("");
    Open();
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(m_boxes.Calls().empty());
    ASSERT_FALSE(m_progress.reports.empty());
    EXPECT_EQ(m_progress.reports.back().percent, 100u);
}

TEST_F(OpenFaxDlgTest, AReadMarkThatCannotBeWrittenIsNamedAndTheFaxIsStillChosen) {
    WriteLog(kLog);
    Open(m_settings.TempFolder() + "gone\\");
    SelectRow(List(), 0);
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    Click(IDOK);
    GetLocalTime(&after);
    EXPECT_EQ(m_dialog->ChosenPath(), m_settings.RecvFolder() + "R20261208093012.smh");
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    const std::string& text = m_boxes.Calls()[0].text;
    EXPECT_TRUE(text == "不能打开文件 " + ReadMarkName(before) || text == "不能打开文件 " + ReadMarkName(after))
        << text;
    EXPECT_TRUE(m_dialog->ReadMarkPath().empty());
}

// The read-mark file on its own, at a fixed time.
class ReadMarkTest : public testing::Test {
protected:
    ReceiveLogRecord Record(const std::string& line) {
        ReceiveLogRecord record;
        ParseLogLine(line, record);
        return record;
    }
    std::vector<std::string> Marks() const { return FilesMatching(m_temp.Path(), "BR*.CSV"); }

    CTempFolder m_temp;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
    const SYSTEMTIME m_time{2026, 12, 2, 8, 9, 30, 12, 345};
};

TEST_F(ReadMarkTest, IsNamedByTheLocalTimeOfWriting) {
    EXPECT_EQ(ReadMarkName(m_time), "BR20261208093012.CSV");
    EXPECT_EQ(ReadMarkName(m_time, 1), "BR20261208093012_1.CSV");
    const SYSTEMTIME newYear{2027, 1, 5, 1, 0, 0, 5, 0};
    EXPECT_EQ(ReadMarkName(newYear), "BR20270101000005.CSV");
}

TEST_F(ReadMarkTest, TwoMarksWithinOneSecondBothSurvive) {
    const ReceiveLogRecord first = Record("上海明辉电子,OK,\"Dec.08,2026 09:30:12\",3,R1.smh,0\n");
    const ReceiveLogRecord second = Record("\"报价\"\"单\"\"\",Error,\"Dec.08,2026 09:31:00\",1,R2.smh,0\n");
    const std::string a = WriteReadMark(nullptr, first, m_temp.Path(), m_time);
    const std::string b = WriteReadMark(nullptr, second, m_temp.Path(), m_time);
    const std::string c = WriteReadMark(nullptr, first, m_temp.Path(), m_time);
    EXPECT_EQ(a, m_temp.Path() + "BR20261208093012.CSV");
    EXPECT_EQ(b, m_temp.Path() + "BR20261208093012_1.CSV");
    EXPECT_EQ(c, m_temp.Path() + "BR20261208093012_2.CSV");
    EXPECT_EQ(Marks().size(), 3u) << "every name matches what the log viewer looks for";
    EXPECT_EQ(ReadFileBytes(a), "上海明辉电子,OK,\"Dec.08,2026 09:30:12\",3,R1.smh,1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(b), "\"报价\"\"单\"\"\",Error,\"Dec.08,2026 09:31:00\",1,R2.smh,1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(c), ReadFileBytes(a));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(ReadMarkTest, GoesIntoTheFolderAlsoWhenItsSettingLacksTheBackslash) {
    std::string folder = m_temp.Path();
    folder.pop_back();
    const std::string path =
        WriteReadMark(nullptr, Record("北京,OK,\"Dec.01,2026 08:00:00\",1,R3.smh,0\n"), folder, m_time);
    EXPECT_EQ(path, m_temp.Path() + "BR20261208093012.CSV");
    EXPECT_TRUE(FileExists(path));
}

TEST_F(ReadMarkTest, AFolderThatIsNotThereIsNamedInTheMessage) {
    const std::string path = WriteReadMark(nullptr, Record("北京,OK,\"Dec.01,2026 08:00:00\",1,R3.smh,0\n"),
                                           m_temp.Path() + "missing\\", m_time);
    EXPECT_TRUE(path.empty());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 BR20261208093012.CSV");
    EXPECT_EQ(m_boxes.Calls()[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
}

namespace {
class CTestViewerApp : public CViewerApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

std::vector<uint8_t> Fax(uint32_t pages) {
    std::vector<SmhPageSpec> specs;
    for (uint32_t i = 0; i < pages; ++i)
        specs.emplace_back(mh::EncodeMh(mh::RandomPage(1728, 300 + i, 3, 21 + i)));
    return BuildSmhDocument(MakeSmhHeader(pages), specs);
}

// The command on the Viewer's real main window, the dialog run modally by it.
class ViewerOpenFaxTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.LoadSuiteSettings(IDS_REG_ERROR));
        ASSERT_TRUE(m_app.CreateMainWindow());
        ShowWindow(Frame(), SW_SHOW);
        UpdateWindow(Frame());
    }
    void TearDown() override { m_app.DestroyMainWindow(); }

    HWND Frame() { return m_app.Frame().GetSafeHwnd(); }
    void WriteFax(const std::string& name, uint32_t pages) {
        const std::vector<uint8_t> bytes = Fax(pages);
        WriteFileBytes(m_settings.RecvFolder() + name, std::string(bytes.begin(), bytes.end()));
    }
    bool Enabled(UINT id) {
        CCmdUI ui(id);
        return m_app.Frame().RouteUpdate(ui) && ui.Enabled();
    }
    std::string Caption() {
        char text[256] = {};
        GetWindowTextA(Frame(), text, sizeof text);
        return text;
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CTestViewerApp m_app;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(ViewerOpenFaxTest, IsOfferedInTheMenuAndOnTheToolbarWithoutADocument) {
    EXPECT_TRUE(Enabled(ID_FILE_OPEN_FAX));
    m_app.Frame().OnIdleUpdate();
    EXPECT_TRUE(SendMessageA(m_app.Frame().ToolBar().Hwnd(), TB_ISBUTTONENABLED, ID_FILE_OPEN_FAX, 0));
    char text[64] = {};
    GetMenuStringA(GetMenu(Frame()), ID_FILE_OPEN_FAX, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "打开传真(&F)");
}

TEST_F(ViewerOpenFaxTest, TheChosenFaxOpensInTheViewer) {
    WriteFileBytes(m_settings.LogFolder() + "receive.csv", kLog);
    WriteFax("R20261208093012.smh", 3);
    WhenOpenFaxShows(
        [](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_FAX_LIST);
            EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 4);
            EXPECT_FALSE(IsWindowEnabled(GetParent(dialog))) << "modal to the main window";
            SelectRow(list, 0);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        },
        [&] { SendMessageA(Frame(), WM_COMMAND, ID_FILE_OPEN_FAX, 0); });

    EXPECT_EQ(m_app.Document().FilePath(), m_settings.RecvFolder() + "R20261208093012.smh");
    EXPECT_EQ(m_app.Document().PageCount(), 3u);
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 1u);
    EXPECT_EQ(Caption(), "查看器 - R20261208093012.smh");
    EXPECT_EQ(m_app.Frame().StatusBar().PaneText(0), "准备");
    EXPECT_TRUE(IsWindowEnabled(Frame()));
    EXPECT_EQ(FilesMatching(m_settings.TempFolder(), "BR*.CSV").size(), 1u);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(ViewerOpenFaxTest, CancelLeavesTheDocumentAsItWas) {
    WriteFileBytes(m_settings.LogFolder() + "receive.csv", kLog);
    WriteFax("R20261208093012.smh", 1);
    WhenOpenFaxShows(
        [](HWND dialog) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        },
        [&] { SendMessageA(Frame(), WM_COMMAND, ID_FILE_OPEN_FAX, 0); });
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 0u);
    EXPECT_EQ(Caption(), "查看器 - Untitled");
    EXPECT_TRUE(FilesMatching(m_settings.TempFolder(), "BR*.CSV").empty());
}

TEST_F(ViewerOpenFaxTest, WithoutAReceiveLogTheViewerSaysSoAndKeepsRunning) {
    WhenOpenFaxShows(
        [](HWND dialog) {
            EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_FAX_LIST), LVM_GETITEMCOUNT, 0, 0), 0);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        },
        [&] { SendMessageA(Frame(), WM_COMMAND, ID_FILE_OPEN_FAX, 0); });
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 receive.csv");
    EXPECT_EQ(m_app.Document().CurrentPageNumber(), 0u);
    EXPECT_TRUE(IsWindow(Frame()));
    EXPECT_TRUE(IsWindowEnabled(Frame()));
}
