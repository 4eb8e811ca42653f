#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/LogFile.h"
#include "common/core/LogDate.h"
#include "common/core/LogLine.h"
#include "common/core/TextModeLines.h"
#include "common/testing/InstalledSettings.h"
#include "common/testing/ListReading.h"
#include "common/testing/SampleLogs.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "logbook/LogbookApp.h"
#include "logbook/resource.h"
#include "tools/process/InstalledSpooler.h"

// The log viewer's main window in this process, over logs written into a scratch installation.
namespace {
class CTestLogbookApp : public CLogbookApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

std::string DaysAgo(int days) {
    return FormatLogDate(LogDateBefore(CurrentLogTime(), int64_t(days) * 86400));
}

std::string Line(const LogRecord& record) {
    std::string text;
    AppendTextModeOutput(text, FormatLogLine(record));
    return text;
}

template <typename Record>
std::string LineOf(std::initializer_list<std::string_view> fields) {
    Record record;
    const std::vector<std::string_view> texts(fields);
    record.Set(texts);
    return Line(record);
}

class LogbookTest : public testing::Test {
protected:
    void Start(LogKind kind) {
        m_app.SetShownList(kind);
        ASSERT_TRUE(m_app.LoadSuiteSettings(IDS_REG_ERROR));
        ASSERT_TRUE(m_app.CreateMainWindow());
        ShowWindow(Frame(), SW_SHOW);
        UpdateWindow(Frame());
    }
    void TearDown() override { m_app.DestroyMainWindow(); }

    HWND Frame() { return m_app.Frame().GetSafeHwnd(); }
    HWND List() { return m_app.View().List().GetSafeHwnd(); }
    int Rows() { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) { return ListCellText(List(), row, column); }
    std::string LogPath(const char* name) { return m_settings.LogFolder() + name; }
    std::string Log(const char* name) { return ReadFileBytes(LogPath(name)); }
    void Document(const std::string& name) { WriteFileBytes(m_settings.RecvFolder() + name, "SMH document"); }
    bool HasDocument(const std::string& name) { return FileExists(m_settings.RecvFolder() + name); }
    void Command(UINT id) { SendMessageA(Frame(), WM_COMMAND, id, 0); }
    // A key as the message loop hands it to the accelerators, with Ctrl held or not.
    bool Press(WORD key, bool control = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        const BYTE saved = keys[VK_CONTROL];
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{Frame(), WM_KEYDOWN, key, 1, 0, {}};
        const bool translated = m_app.Frame().TranslateAccelerator(msg);
        keys[VK_CONTROL] = saved;
        SetKeyboardState(keys);
        return translated;
    }
    std::string JobList() { return ReadFileBytes(m_settings.RecvFolder() + "RESEND.TMP"); }
    bool Enabled(UINT id) {
        CCmdUI ui(id);
        return m_app.Frame().RouteUpdate(ui) && ui.Enabled();
    }

    void Select(int row) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    // The list's click notification for the middle of a row, as the list sends it to the view.
    void Click(int row, UINT code = NM_CLICK) {
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        NMITEMACTIVATE activate{};
        activate.hdr.hwndFrom = List();
        activate.hdr.idFrom = IDC_LOG_LIST;
        activate.hdr.code = code;
        activate.iItem = row;
        activate.ptAction = {rect.left + 20, (rect.top + rect.bottom) / 2};
        SendMessageA(m_app.View().GetSafeHwnd(), WM_NOTIFY, IDC_LOG_LIST, reinterpret_cast<LPARAM>(&activate));
    }

    // Dark pixels of a row drawn through the list's own owner-draw path into a memory bitmap.
    int InkOfRow(int row) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
        const int width = bounds.right, height = bounds.bottom;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        // The list paints with its own font selected.
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(List(), WM_GETFONT, 0, 0)));
        RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.itemID = static_cast<UINT>(row);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = List();
        dis.hDC = dc;
        dis.rcItem = bounds;
        m_app.View().List().OnDrawItemReflect(dis);
        int ink = 0;
        for (int y = bounds.top; y < bounds.bottom; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128)
                    ++ink;
            }
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return ink;
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CTestLogbookApp m_app;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_boxSeam{m_boxes};
    CRecordingShell m_shell;
    CScopedSeam<IShell> m_shellSeam{m_shell};
};
}  // namespace

TEST_F(LogbookTest, TheReceiveListMergesPendingRecordsFirstAndRewritesTheLogWithoutHeader) {
    const std::string older = LineOf<ReceiveLogRecord>({"0105551234", "OK", DaysAgo(2), "2", "old.smh", "1"});
    WriteFileBytes(LogPath("receive.csv"), "从,状态,日期/时间,页数,,\r\n" + older);
    const std::string pending = LineOf<ReceiveLogRecord>({"北京华信", "OK", DaysAgo(0), "3", "new.smh", "0"});
    WriteFileBytes(m_settings.TempFolder() + "R20261208.CSV", pending);
    Start(LogKind::kReceive);

    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), "北京华信");
    EXPECT_EQ(Cell(0, 3), "3");
    EXPECT_EQ(Cell(1, 0), "0105551234");
    EXPECT_FALSE(FileExists(m_settings.TempFolder() + "R20261208.CSV"));
    EXPECT_EQ(Log("receive.csv"), pending + older);

    HWND header = reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 4);
    const char* titles[] = {"从", "状态", "日期/时间", "页数"};
    const int widths[] = {150, 60, 165, 40};
    for (int i = 0; i < 4; ++i) {
        char text[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(List(), LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, titles[i]);
        EXPECT_EQ(column.cx, widths[i]);
    }
    EXPECT_TRUE(Enabled(ID_OPEN_FAX));
    EXPECT_FALSE(Enabled(ID_SEND_AGAIN));
}

TEST_F(LogbookTest, UnreadReceivedFaxesAreBoldAndOpeningOneMarksItReadAndStartsTheViewer) {
    const std::string unread = LineOf<ReceiveLogRecord>({"Sender", "OK", DaysAgo(1), "1", "a.smh", "0"});
    const std::string read = LineOf<ReceiveLogRecord>({"Sender", "OK", DaysAgo(1), "1", "a.smh", "1"});
    WriteFileBytes(LogPath("receive.csv"), unread + read);
    Start(LogKind::kReceive);
    ASSERT_EQ(Rows(), 2);
    const int bold = InkOfRow(0);
    const int normal = InkOfRow(1);
    EXPECT_GT(bold, normal + normal / 10) << "bold " << bold << ", normal " << normal;

    Click(0, NM_DBLCLK);
    EXPECT_EQ(m_app.View().LastClickedRow(), 0);
    EXPECT_EQ(Log("receive.csv"), read + read);
    EXPECT_LE(InkOfRow(0), normal + normal / 20);
    ASSERT_EQ(m_shell.Calls().size(), 1u);
    EXPECT_EQ(m_shell.Calls()[0].file, m_settings.ProgramFolder() + "Viewer.exe");
    char shortRecv[256] = {};
    GetShortPathNameA(m_settings.RecvFolder().c_str(), shortRecv, sizeof shortRecv);
    EXPECT_EQ(m_shell.Calls()[0].parameters, std::string(shortRecv) + "a.smh");
    EXPECT_EQ(m_shell.Calls()[0].parameters.find(' '), std::string::npos);
}

TEST_F(LogbookTest, SendRowsAreBoldUnlessSentAndTheSendColumnsShow) {
    WriteFileBytes(LogPath("send.csv"),
                   LineOf<SendLogRecord>({"Dest", "OK", "1", DaysAgo(1), "2", "", "s.smh", "0"}) +
                       LineOf<SendLogRecord>({"Dest", "ok", "1", DaysAgo(1), "2", "", "s.smh", "0"}) +
                       LineOf<SendLogRecord>({"Dest", "BUSY", "1", DaysAgo(1), "2", "", "s.smh", "0"}));
    Start(LogKind::kSend);
    ASSERT_EQ(Rows(), 3);
    HWND header = reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 6);
    EXPECT_EQ(Cell(2, 1), "BUSY");
    EXPECT_EQ(Cell(2, 2), "1");
    const int sent = InkOfRow(0);
    EXPECT_NEAR(InkOfRow(1), sent, sent / 4 + 1);
    // The same row's texts at both weights: the failed one is drawn bold, the sent one is not.
    const int failed = InkOfRow(2);
    m_app.View().List().SuspendEmphasis(true);
    EXPECT_GT(failed, InkOfRow(2) + InkOfRow(2) / 10);
    EXPECT_EQ(InkOfRow(0), sent);
    m_app.View().List().SuspendEmphasis(false);

    EXPECT_FALSE(Enabled(ID_OPEN_FAX));
    EXPECT_FALSE(Enabled(ID_DELETE_ROW));
    EXPECT_FALSE(GetWindowLongA(List(), GWL_STYLE) & LVS_SHOWSELALWAYS) << "the highlight goes with the focus";
    Select(0);
    EXPECT_TRUE(Enabled(ID_DELETE_ROW));
    EXPECT_FALSE(Enabled(ID_SEND_AGAIN));
    Select(2);
    EXPECT_TRUE(Enabled(ID_SEND_AGAIN));
}

TEST_F(LogbookTest, DeletingARowRemovesItsDocumentButNothingOutsideTheFaxFolder) {
    Document("keep.smh");
    Document("gone.smh");
    WriteFileBytes(m_settings.ProgramFolder() + "Addr.csv", "book");
    const std::string keep = LineOf<ReceiveLogRecord>({"A", "OK", DaysAgo(1), "1", "keep.smh", "1"});
    const std::string outside = LineOf<ReceiveLogRecord>({"B", "OK", DaysAgo(1), "1", "..\\Addr.csv", "1"});
    const std::string gone = LineOf<ReceiveLogRecord>({"C", "OK", DaysAgo(1), "1", "gone.smh", "1"});
    WriteFileBytes(LogPath("receive.csv"), keep + outside + gone);
    Start(LogKind::kReceive);
    ASSERT_EQ(Rows(), 3);

    Select(2);
    m_boxes.Answer(IDCANCEL);
    Command(ID_DELETE_ROW);
    EXPECT_EQ(Rows(), 3);
    EXPECT_TRUE(HasDocument("gone.smh"));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "这个清单会被删除，确定否？");
    EXPECT_EQ(m_boxes.Calls()[0].type & MB_ICONMASK, 0u);

    Command(ID_DELETE_ROW);  // the script is used up: OK
    EXPECT_EQ(Rows(), 2);
    EXPECT_FALSE(HasDocument("gone.smh"));
    EXPECT_EQ(Log("receive.csv"), keep + outside);

    Select(1);
    Command(ID_DELETE_ROW);
    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(FileExists(m_settings.ProgramFolder() + "Addr.csv"));
    EXPECT_TRUE(HasDocument("keep.smh"));
    EXPECT_EQ(Log("receive.csv"), keep);
    EXPECT_EQ(m_boxes.Calls().size(), 3u) << "no message for a document that is not deleted";
}

TEST_F(LogbookTest, OldRecordsBeyondTheFirstHundredAndOneAgeOutWithTheirDocuments) {
    std::string log;
    for (int i = 0; i < 101; ++i)
        log += LineOf<ReceiveLogRecord>({"A" + std::to_string(i), "OK", DaysAgo(1), "1", "", "1"});
    Document("aged.smh");
    Document("young.smh");
    log += LineOf<ReceiveLogRecord>({"aged", "OK", DaysAgo(40), "1", "aged.smh", "1"});
    log += LineOf<ReceiveLogRecord>({"young", "OK", DaysAgo(29), "1", "young.smh", "1"});
    WriteFileBytes(LogPath("receive.csv"), log);
    Start(LogKind::kReceive);
    EXPECT_EQ(Rows(), 102);
    EXPECT_EQ(Cell(101, 0), "young");
    EXPECT_FALSE(HasDocument("aged.smh"));
    EXPECT_TRUE(HasDocument("young.smh"));
    EXPECT_EQ(Log("receive.csv").find("aged"), std::string::npos);
}

TEST_F(LogbookTest, ReadMarksAndSwitchingListsTakeEffectOnTheShownList) {
    const std::string unread = LineOf<ReceiveLogRecord>({"X", "OK", DaysAgo(1), "1", "x.smh", "0"});
    WriteFileBytes(LogPath("receive.csv"), unread);
    WriteFileBytes(LogPath("send.csv"), LineOf<SendLogRecord>({"S", "OK", "1", DaysAgo(1), "1", "", "", "0"}));
    Start(LogKind::kSend);
    EXPECT_EQ(Cell(0, 0), "S");

    ReceiveLogRecord record;
    ParseLogLine(FormatLogLine(
                     [&] {
                         ReceiveLogRecord r;
                         ParseLogLine(unread, r);
                         return r;
                     }(),
                     true),
                 record);
    WriteFileBytes(m_settings.TempFolder() + "BR20261208093012.CSV", Line(record));
    SendMessageA(Frame(), WM_SHOW_LIST, 1, 0);
    EXPECT_EQ(m_app.View().Shown(), LogKind::kReceive);
    EXPECT_EQ(SendMessageA(m_app.Frame().ListSelector(), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Cell(0, 0), "X");
    EXPECT_EQ(Log("receive.csv"), Line(record));
    EXPECT_FALSE(FileExists(m_settings.TempFolder() + "BR20261208093012.CSV"));

    // The selector's choice takes effect at the next idle pass.
    SendMessageA(m_app.Frame().ListSelector(), CB_SETCURSEL, 0, 0);
    m_app.Frame().PollListSelector();
    EXPECT_EQ(m_app.View().Shown(), LogKind::kSend);
    EXPECT_EQ(Cell(0, 0), "S");
    EXPECT_EQ(m_app.Frame().StatusBar().PaneText(0), "准备");
}

TEST_F(LogbookTest, ALogThatCannotBeReadIsReportedAndNeverRewritten) {
    const std::string log = LineOf<ReceiveLogRecord>({"X", "OK", DaysAgo(1), "1", "x.smh", "0"});
    WriteFileBytes(LogPath("receive.csv"), log);
    WriteFileBytes(m_settings.TempFolder() + "R1.CSV", LineOf<ReceiveLogRecord>({"P", "OK", DaysAgo(0), "1", "", "0"}));
    HANDLE locked = CreateFileA(LogPath("receive.csv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    Start(LogKind::kReceive);
    CloseHandle(locked);
    ASSERT_GE(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 receive.csv");
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Log("receive.csv"), log);
    EXPECT_TRUE(FileExists(m_settings.TempFolder() + "R1.CSV")) << "the pending record waits for a log to hold it";
}

TEST(LogbookCommandLine, TheArgumentNamesTheListInAnyCase) {
    EXPECT_EQ(CLogbookApp::ListFromCommandLine("C:\\PROGRA~1\\LUMENP~1\\Log\\RECEIVE.CSV"), LogKind::kReceive);
    EXPECT_EQ(CLogbookApp::ListFromCommandLine("C:\\Program Files\\LUMENPOST\\Log\\receive.csv"), LogKind::kReceive);
    EXPECT_EQ(CLogbookApp::ListFromCommandLine("C:\\LOG\\SEND.CSV"), LogKind::kSend);
    EXPECT_EQ(CLogbookApp::ListFromCommandLine(""), LogKind::kSend);
    EXPECT_EQ(CLogbookApp::ListFromCommandLine("other.txt"), LogKind::kSend);
}

TEST_F(LogbookTest, SendingAFailedFaxAgainHandsACopyToTheSpoolerAndDropsTheRow) {
    CInstalledSpooler spooler;
    ASSERT_TRUE(spooler.Installed());
    Document("failed.smh");
    const std::string sent = LineOf<SendLogRecord>({"Good", "OK", "1", DaysAgo(1), "1", "", "", "0"});
    WriteFileBytes(LogPath("send.csv"),
                   sent + LineOf<SendLogRecord>({"Busy", "ERROR", "3", DaysAgo(1), "1", "", "failed.smh", "0"}));
    Start(LogKind::kSend);
    ASSERT_EQ(Rows(), 2);
    Select(1);
    Click(1);
    ASSERT_EQ(m_app.View().LastClickedRow(), 1);
    ASSERT_TRUE(Enabled(ID_SEND_AGAIN));
    Command(ID_SEND_AGAIN);

    const std::string copy = m_settings.RecvFolder() + "xmitfaxtemp.smh";
    EXPECT_EQ(ReadFileBytes(copy), "SMH document");
    EXPECT_FALSE(HasDocument("failed.smh"));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Log("send.csv"), sent);
    // The spooler takes the job list once, then leaves its pending send record for the next load.
    bool recorded = false;
    for (int i = 0; i < 100 && !recorded; ++i, Sleep(50))
        recorded = !FilesMatching(m_settings.TempFolder(), "S*.CSV").empty();
    EXPECT_TRUE(recorded);
    EXPECT_FALSE(FileExists(m_settings.RecvFolder() + "RESEND.TMP"));
    SendMessageA(Frame(), WM_SHOW_LIST, 0, 0);
    EXPECT_EQ(Rows(), 2) << "the new attempt is listed";
    EXPECT_TRUE(FindWindowA(nullptr, "KDM-540 发送队列")) << "the spooler was started and is still showing its jobs";
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(LogbookTest, HelpOpensAtTheLogViewersPageAndTheSystemMenuOffersAbout) {
    Start(LogKind::kSend);
    CRecordingHelp help;
    CScopedSeam<IHelpEngine> seam(help);
    Command(ID_LOG_HELP);
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].command, UINT(HELP_CONTEXT));
    EXPECT_EQ(help.Calls()[0].data, ULONG_PTR(220));
    EXPECT_EQ(help.Calls()[0].file, m_settings.ProgramFolder() + "Mirolo.hlp");

    HMENU menu = GetSystemMenu(Frame(), FALSE);
    char text[64] = {};
    ASSERT_GT(GetMenuStringA(menu, IDM_ABOUTBOX, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "关于查看清单(&A)...");
    EXPECT_EQ(GetMenuState(menu, GetMenuItemCount(menu) - 2, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
}

TEST_F(LogbookTest, TheKeysShowAndReloadTheListsAndTheSelectorActsOnceItHasClosed) {
    WriteFileBytes(LogPath("receive.csv"), LineOf<ReceiveLogRecord>({"X", "OK", DaysAgo(1), "1", "", "1"}));
    WriteFileBytes(LogPath("send.csv"), LineOf<SendLogRecord>({"S", "OK", "1", DaysAgo(1), "1", "", "", "0"}));
    Start(LogKind::kSend);
    ASSERT_TRUE(Press('R', true));
    EXPECT_EQ(m_app.View().Shown(), LogKind::kReceive);
    EXPECT_EQ(Cell(0, 0), "X");
    WriteFileBytes(m_settings.TempFolder() + "R7.CSV", LineOf<ReceiveLogRecord>({"P", "OK", DaysAgo(0), "1", "", "0"}));
    ASSERT_TRUE(Press(VK_F5));
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), "P");
    ASSERT_TRUE(Press('S', true));
    EXPECT_EQ(m_app.View().Shown(), LogKind::kSend);
    EXPECT_EQ(SendMessageA(m_app.Frame().ListSelector(), CB_GETCURSEL, 0, 0), 0);

    HWND selector = m_app.Frame().ListSelector();
    SendMessageA(selector, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(selector, CB_SETCURSEL, 1, 0);
    m_app.Frame().PollListSelector();
    EXPECT_EQ(m_app.View().Shown(), LogKind::kSend) << "nothing happens while the list is dropped down";
    SendMessageA(selector, CB_SHOWDROPDOWN, FALSE, 0);
    m_app.Frame().PollListSelector();
    EXPECT_EQ(m_app.View().Shown(), LogKind::kReceive);
}

TEST_F(LogbookTest, SendRowsOpenAndRowsWithoutADocumentOpenDeleteAndSendAgain) {
    Document("s.smh");
    const std::string yesterday = DaysAgo(1);
    const std::string noDocument = LineOf<SendLogRecord>({"A", "ERROR", "2", yesterday, "1", "", "", "0"});
    const std::string noDocument2 = LineOf<SendLogRecord>({"B", "ERROR", "2", yesterday, "1", "", "", "0"});
    const std::string sent = LineOf<SendLogRecord>({"C", "OK", "1", yesterday, "1", "", "s.smh", "0"});
    WriteFileBytes(LogPath("send.csv"), noDocument + noDocument2 + sent);
    Start(LogKind::kSend);
    ASSERT_EQ(Rows(), 3);
    const int weight = InkOfRow(2);

    // A sent fax opened from the send list is marked read; its weight follows its result, not the flag.
    Click(2, NM_DBLCLK);
    EXPECT_EQ(Log("send.csv"),
              noDocument + noDocument2 + LineOf<SendLogRecord>({"C", "OK", "1", yesterday, "1", "", "s.smh", "1"}));
    EXPECT_EQ(InkOfRow(2), weight);
    Click(0, NM_DBLCLK);
    ASSERT_EQ(m_shell.Calls().size(), 2u);
    EXPECT_EQ(m_shell.Calls()[1].file, m_settings.ProgramFolder() + "Viewer.exe");
    EXPECT_EQ(m_shell.Calls()[1].parameters, "") << "no document: the Viewer starts empty";

    Select(1);
    Command(ID_DELETE_ROW);
    EXPECT_EQ(Rows(), 2);
    EXPECT_TRUE(HasDocument("s.smh"));
    Select(0);
    Command(ID_SEND_AGAIN);
    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(FileExists(m_settings.RecvFolder() + "RESEND.TMP"));
    EXPECT_EQ(JobList(), "") << "nothing to copy: the job list names nothing";
    EXPECT_TRUE(m_boxes.Calls().size() == 1) << "only the deletion's question";
}

TEST_F(LogbookTest, SendAgainActsOnTheSelectedRowAndHandsOverItsCopyOnly) {
    const std::string yesterday = DaysAgo(1);
    Document("good.smh");
    WriteFileBytes(m_settings.RecvFolder() + "busy.smh", "the busy fax");
    WriteFileBytes(m_settings.RecvFolder() + "xmitfaxtemp.smh", "an older job's copy");
    const std::string good = LineOf<SendLogRecord>({"Good", "OK", "1", yesterday, "1", "", "good.smh", "0"});
    const std::string gone = LineOf<SendLogRecord>({"Gone", "ERROR", "3", yesterday, "1", "", "gone.smh", "0"});
    const std::string last = LineOf<SendLogRecord>({"Last", "ERROR", "3", yesterday, "1", "", "", "0"});
    WriteFileBytes(
        LogPath("send.csv"),
        good + LineOf<SendLogRecord>({"Busy", "BUSY", "3", yesterday, "1", "", "busy.smh", "0"}) + gone + last);
    Start(LogKind::kSend);
    // Clicked on the sent row, then moved with the keys to the failed one: Ctrl+F sends the failed one.
    Click(0);
    Select(1);
    ASSERT_TRUE(Press('F', true));
    const std::string copy = m_settings.RecvFolder() + "xmitfaxtemp.smh";
    EXPECT_EQ(ReadFileBytes(copy), "the busy fax");
    EXPECT_EQ(JobList(), copy) << "one path, no line end";
    EXPECT_TRUE(HasDocument("good.smh"));
    EXPECT_FALSE(HasDocument("busy.smh"));
    EXPECT_EQ(Log("send.csv"), good + gone + last);

    // A document that has gone leaves no copy at all, never the older one.
    Select(1);
    Command(ID_SEND_AGAIN);
    EXPECT_FALSE(FileExists(copy));
    EXPECT_EQ(JobList(), copy);
    EXPECT_EQ(Log("send.csv"), good + last);

    // A job list that cannot be written is reported; the row has gone already.
    DeleteFileA((m_settings.RecvFolder() + "RESEND.TMP").c_str());
    ASSERT_TRUE(CreateDirectoryA((m_settings.RecvFolder() + "RESEND.TMP").c_str(), nullptr));
    Select(1);
    Command(ID_SEND_AGAIN);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 RESEND.TMP");
    EXPECT_EQ(m_boxes.Calls()[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(Log("send.csv"), good);
}

TEST_F(LogbookTest, WhenTheLogCannotBeSavedNoDocumentGoesAndNothingIsSentAgain) {
    const std::string yesterday = DaysAgo(1);
    Document("one.smh");
    Document("two.smh");
    // The rows come from pending records; the log itself cannot be read, so it is never rewritten.
    const std::string log = LineOf<SendLogRecord>({"Old", "OK", "1", DaysAgo(3), "1", "", "", "0"});
    WriteFileBytes(LogPath("send.csv"), log);
    WriteFileBytes(m_settings.TempFolder() + "S1.CSV",
                   LineOf<SendLogRecord>({"One", "ERROR", "1", yesterday, "1", "", "one.smh", "0"}) +
                       LineOf<SendLogRecord>({"Two", "ERROR", "1", DaysAgo(2), "1", "", "two.smh", "0"}));
    HANDLE locked = CreateFileA(LogPath("send.csv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    Start(LogKind::kSend);
    CloseHandle(locked);
    ASSERT_EQ(Rows(), 2);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);

    Select(0);
    Command(ID_DELETE_ROW);
    EXPECT_TRUE(HasDocument("one.smh")) << "the pending record still names it";
    ASSERT_EQ(m_boxes.Calls().size(), 3u);
    EXPECT_EQ(m_boxes.Calls()[2].text, "不能打开文件 send.csv");
    Select(0);
    Command(ID_SEND_AGAIN);
    EXPECT_TRUE(HasDocument("two.smh"));
    EXPECT_FALSE(FileExists(m_settings.RecvFolder() + "RESEND.TMP"));
    ASSERT_EQ(m_boxes.Calls().size(), 4u);
    EXPECT_EQ(m_boxes.Calls()[3].text, "不能打开文件 send.csv");
    EXPECT_EQ(Log("send.csv"), log);
    EXPECT_TRUE(FileExists(m_settings.TempFolder() + "S1.CSV"));
}
