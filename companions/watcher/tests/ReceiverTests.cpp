#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/LogFile.h"
#include "common/core/LogDate.h"
#include "common/core/LogLine.h"
#include "common/testing/InstalledSettings.h"
#include "common/testing/ListReading.h"
#include "companions/watcher/WatcherWnd.h"
#include "companions/watcher/resource.h"
#include "companions/watcher/tests/WatcherTesting.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"

// The monitor's window in-process, receiving into a test installation laid out as Setup leaves one.
namespace {
const std::string kShanghai = "上海明辉电子";

// The local time `offset` seconds from now.
LogDateTime LocalTimeIn(int offset) {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER t{};
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += static_cast<ULONGLONG>(offset) * 10000000ULL;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    FileTimeToSystemTime(&ft, &st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

class WatcherWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string install = m_root.Path();
        install.pop_back();
        m_settings = std::make_unique<CInstalledSettings>(install);
        m_samples = CReceiver::SamplesFolderOf(m_settings->ProgramFolder());
        CreateDirectoryA(m_samples.c_str(), nullptr);
        m_receiver = NewReceiver();
        m_window = std::make_unique<CWatcherWnd>(*m_receiver, false);
        ASSERT_TRUE(m_window->Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE));
    }
    void TearDown() override {
        if (m_window && IsWindow(*m_window))
            DestroyWindow(*m_window);
    }

    std::unique_ptr<CReceiver> NewReceiver() const {
        return std::make_unique<CReceiver>(m_samples, m_settings->RecvFolder(), m_settings->TempFolder(),
                                           CRegistryProfile("Orvex", "mirolo"));
    }
    void ClickReceive() const {
        HWND button = GetDlgItem(*m_window, IDC_RECEIVE_NOW);
        ASSERT_NE(button, nullptr);
        SendMessageA(*m_window, WM_COMMAND, MAKEWPARAM(IDC_RECEIVE_NOW, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    int Rows() const { return static_cast<int>(SendMessageA(m_window->ReceivedList(), LVM_GETITEMCOUNT, 0, 0)); }
    const std::string& Recv() const { return m_settings->RecvFolder(); }
    const std::string& Temp() const { return m_settings->TempFolder(); }
    std::string NextSampleValue() const {
        return CRegistryProfile("Orvex", "mirolo").GetString(CReceiver::kProfileSection, CReceiver::kNextSampleValue);
    }

    CTempFolder m_root;
    std::unique_ptr<CInstalledSettings> m_settings;
    std::string m_samples;
    std::unique_ptr<CReceiver> m_receiver;
    std::unique_ptr<CWatcherWnd> m_window;
};
}  // namespace

TEST_F(WatcherWndTest, ReceivingStoresTheSampleAndLeavesAnUnreadRecord) {
    const std::string sample = SampleFax(3, kShanghai, "021-58881234");
    WriteFileBytes(m_samples + "letter.smh", sample);
    const int64_t before = NowSeconds();
    ClickReceive();
    const int64_t after = NowSeconds();

    const auto documents = FilesMatching(Recv(), "*.smh");
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_TRUE(IsStampedName(documents[0], ".smh")) << documents[0];
    EXPECT_EQ(ReadFileBytes(Recv() + documents[0]), sample);
    EXPECT_EQ(ReadFileBytes(m_samples + "letter.smh"), sample) << "the sample stays for the next call";

    const auto pending = FilesMatching(Temp(), "R*.CSV");
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_TRUE(IsStampedName(pending[0], ".CSV")) << pending[0];
    EXPECT_TRUE(FilesMatching(Temp(), "*.tmp").empty()) << "the partial record was renamed, not left";
    const std::string text = ReadFileBytes(Temp() + pending[0]);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text.find('\n'), text.size() - 1) << "one record, one line";

    const auto records = ReadPendingRecords(Temp() + pending[0]);
    ASSERT_EQ(records.size(), 1u);
    const ReceiveLogRecord& r = records[0];
    EXPECT_EQ(FieldText(r, ReceiveLogRecord::kFrom), kShanghai);
    EXPECT_EQ(FieldText(r, ReceiveLogRecord::kResult), "OK");
    EXPECT_EQ(r.Number(ReceiveLogRecord::kPages), 3);
    EXPECT_EQ(r.FileName(), documents[0]);
    EXPECT_FALSE(r.IsRead());
    const auto date = ParseLogDate(r.Date());
    ASSERT_TRUE(date.has_value()) << r.Date();
    EXPECT_GE(LogDateSeconds(*date), before);
    EXPECT_LE(LogDateSeconds(*date), after);
    // The document and the record carry the moment of reception in their names.
    EXPECT_EQ(documents[0], ReceivedFaxName(*date, 0));
    EXPECT_EQ(pending[0], PendingRecordName(*date, 0));

    ASSERT_EQ(Rows(), 1);
    HWND list = m_window->ReceivedList();
    EXPECT_EQ(ListCellText(list, 0, 0), r.Date());
    EXPECT_EQ(ListCellText(list, 0, 1), kShanghai);
    EXPECT_EQ(ListCellText(list, 0, 2), "3");
    EXPECT_EQ(ListCellText(list, 0, 3), documents[0]);
}

TEST_F(WatcherWndTest, SamplesArePlayedInTurnAcrossRuns) {
    WriteFileBytes(m_samples + "a.smh", SampleFax(1, "甲公司", "010-1"));
    WriteFileBytes(m_samples + "B.smh", SampleFax(2, "", "010-2"));
    WriteFileBytes(m_samples + "c.smh", SampleFax(1, "", ""));
    WriteFileBytes(m_samples + "notes.txt", "not a fax");
    ClickReceive();
    ClickReceive();
    ASSERT_EQ(Rows(), 2);
    // Newest on top.
    EXPECT_EQ(ListCellText(m_window->ReceivedList(), 0, 1), "010-2");
    EXPECT_EQ(ListCellText(m_window->ReceivedList(), 1, 1), "甲公司");

    // A later run goes on with the next sample, then starts over.
    auto later = NewReceiver();
    const auto third = later->Receive();
    ASSERT_TRUE(third.received);
    EXPECT_EQ(third.reception.sender, "未知") << "no station fields in the document";
    EXPECT_EQ(third.sample, m_samples + "c.smh");
    const auto fourth = later->Receive();
    ASSERT_TRUE(fourth.received);
    EXPECT_EQ(fourth.sample, m_samples + "a.smh");

    // Four faxes received within a second or two: four documents and four records, none overwritten.
    EXPECT_EQ(FilesMatching(Recv(), "*.smh").size(), 4u);
    const auto pending = FilesMatching(Temp(), "R*.CSV");
    ASSERT_EQ(pending.size(), 4u);
    std::vector<std::string> named;
    for (const std::string& name : pending) {
        const auto records = ReadPendingRecords(Temp() + name);
        ASSERT_EQ(records.size(), 1u) << name;
        named.push_back(records[0].FileName());
        EXPECT_GT(ReadFileBytes(Recv() + records[0].FileName()).size(), kSmhFileHeaderSize) << name;
    }
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, FilesMatching(Recv(), "*.smh"));
}

TEST_F(WatcherWndTest, ReceptionsReachTheReceiveLogWhenTheLogViewerLoadsIt) {
    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    WriteFileBytes(m_samples + "a.smh", SampleFax(1, kShanghai));
    WriteFileBytes(m_samples + "b.smh", SampleFax(2, "", "0571-88886666"));
    // Setup's log already holds an older fax the user has read.
    ReceiveLogRecord earlier;
    const std::string_view earlierFields[] = {"010-1", "OK", "Jan.05,1999 14:03:27", "1", "", "1"};
    earlier.Set(earlierFields);
    WriteFileBytes(m_settings->LogFolder() + "receive.csv", FormatLogLine(earlier));

    ClickReceive();
    // The button's id is its command, so another program can post it as well.
    PostMessageA(*m_window, WM_COMMAND, IDC_RECEIVE_NOW, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    ASSERT_EQ(Rows(), 2);

    const SuiteSettings folders{Recv(), m_settings->LogFolder(), Temp(), m_settings->ProgramFolder(), ""};
    CLogFile log(ReceiveLogLayout(), folders, nullptr, 0);
    LogList list(ReceiveLogLayout(), CurrentLogTime());
    log.Load(list);
    EXPECT_TRUE(boxes.Calls().empty());
    ASSERT_EQ(list.Size(), 3u);
    // Both received within a second or two: the merge keeps them above the log's own record, newest first,
    // each unread (drawn bold) and naming its stored document.
    std::vector<std::string> senders;
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const LogRecord& r = list.At(i);
        EXPECT_TRUE(r.NeedsAttention());
        EXPECT_FALSE(r.IsRead());
        const std::string& from = FieldText(r, ReceiveLogRecord::kFrom);
        senders.push_back(from);
        const bool first = from == kShanghai;
        EXPECT_EQ(r.Number(ReceiveLogRecord::kPages), first ? 1 : 2);
        EXPECT_EQ(ReadFileBytes(log.DocumentPath(r)),
                  first ? SampleFax(1, kShanghai) : SampleFax(2, "", "0571-88886666"));
    }
    std::sort(senders.begin(), senders.end());
    EXPECT_EQ(senders, (std::vector<std::string>{"0571-88886666", kShanghai}));
    EXPECT_GE(CompareLogDates(list.At(0).Date(), list.At(1).Date()), 0) << "the newer one on top";
    EXPECT_TRUE(list.At(2) == earlier);
    EXPECT_TRUE(FilesMatching(Temp(), "R*.CSV").empty()) << "the log viewer took the pending records";
    EXPECT_EQ(ReadFileBytes(log.LogPath()).size(), list.Format().size() + 3) << "the log rewritten in text mode";
}

TEST_F(WatcherWndTest, NamesAlreadyTakenAreNeverOverwritten) {
    WriteFileBytes(m_samples + "letter.smh", SampleFax(2, kShanghai));
    // Whichever second the reception falls in, its first names are taken.
    for (int offset = 0; offset <= 2; ++offset) {
        const LogDateTime t = LocalTimeIn(offset);
        WriteFileBytes(Recv() + ReceivedFaxName(t, 0), "earlier fax");
        WriteFileBytes(Temp() + PendingRecordName(t, 0), "earlier record\r\n");
    }
    ClickReceive();
    ASSERT_EQ(Rows(), 1);
    const std::string stored = ListCellText(m_window->ReceivedList(), 0, 3);
    EXPECT_EQ(stored.substr(stored.size() - 6), "_1.smh") << stored;
    EXPECT_EQ(ReadFileBytes(Recv() + stored), SampleFax(2, kShanghai));
    for (int offset = 0; offset <= 2; ++offset) {
        const LogDateTime t = LocalTimeIn(offset);
        EXPECT_EQ(ReadFileBytes(Recv() + ReceivedFaxName(t, 0)), "earlier fax");
        EXPECT_EQ(ReadFileBytes(Temp() + PendingRecordName(t, 0)), "earlier record\r\n");
    }
    std::string record;
    for (const std::string& name : FilesMatching(Temp(), "R*_1.CSV"))
        record = name;
    ASSERT_FALSE(record.empty());
    const auto records = ReadPendingRecords(Temp() + record);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].FileName(), stored);
}

TEST_F(WatcherWndTest, BadSamplesAreReportedAndNothingIsReceived) {
    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    const auto expectNothingReceived = [&](const std::string& message) {
        SCOPED_TRACE(message);
        ClickReceive();
        ASSERT_FALSE(boxes.Calls().empty());
        EXPECT_EQ(boxes.Calls().back().text, message);
        EXPECT_EQ(boxes.Calls().back().type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
        EXPECT_EQ(Rows(), 0);
        EXPECT_TRUE(FilesMatching(Recv(), "*.*").empty());
        EXPECT_TRUE(FilesMatching(Temp(), "*.*").empty());
    };

    RemoveDirectoryA(m_samples.c_str());
    expectNothingReceived("找不到样张文件夹 " + m_samples);

    CreateDirectoryA(m_samples.c_str(), nullptr);
    WriteFileBytes(m_samples + "readme.txt", "samples go here");
    expectNothingReceived("样张文件夹 " + m_samples + " 中没有传真文件 (*.smh)");
    DeleteFileA((m_samples + "readme.txt").c_str());

    WriteFileBytes(m_samples + "cover.smh", "TO: Orvex\r\nFROM: a text file, not a fax\r\n" + std::string(400, ' '));
    expectNothingReceived("样张 " + m_samples + "cover.smh 不是有效的SMH文件");

    std::string cut = SampleFax(2, kShanghai);
    cut.resize(cut.size() - 5);
    WriteFileBytes(m_samples + "cover.smh", cut);
    expectNothingReceived("样张 " + m_samples + "cover.smh 不是有效的SMH文件");
    DeleteFileA((m_samples + "cover.smh").c_str());

    // Far larger than any fax: refused from its size, without being read.
    HANDLE big = CreateFileA((m_samples + "huge.smh").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(big, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = 65LL * 1024 * 1024;
    SetFilePointerEx(big, end, nullptr, FILE_BEGIN);
    SetEndOfFile(big);
    CloseHandle(big);
    expectNothingReceived("样张 " + m_samples + "huge.smh 太大，不是传真文件");
    EXPECT_EQ(boxes.Calls().size(), 5u);
}

TEST_F(WatcherWndTest, MissingFoldersAreReportedBeforeASampleIsTaken) {
    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    WriteFileBytes(m_samples + "a.smh", SampleFax(1, "A"));
    WriteFileBytes(m_samples + "b.smh", SampleFax(1, "B"));

    ASSERT_TRUE(RemoveDirectoryA(Recv().c_str()));
    ClickReceive();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "找不到文件夹 " + Recv());

    ASSERT_TRUE(CreateDirectoryA(Recv().c_str(), nullptr));
    ASSERT_TRUE(RemoveDirectoryA(Temp().c_str()));
    ClickReceive();
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[1].text, "找不到文件夹 " + Temp());
    EXPECT_TRUE(FilesMatching(Recv(), "*.*").empty());
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(NextSampleValue(), "") << "no sample was used up";

    ASSERT_TRUE(CreateDirectoryA(Temp().c_str(), nullptr));
    ClickReceive();
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(ListCellText(m_window->ReceivedList(), 0, 1), "A");
}

TEST_F(WatcherWndTest, AReceptionThatCannotLeaveItsRecordLeavesNoDocument) {
    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    WriteFileBytes(m_samples + "letter.smh", SampleFax(1, kShanghai));
    // Every name the record could take, in whichever second the reception falls.
    for (int offset = 0; offset <= 2; ++offset) {
        const LogDateTime t = LocalTimeIn(offset);
        for (int attempt = 0; attempt < 100; ++attempt)
            WriteFileBytes(Temp() + PendingRecordName(t, attempt), "taken\r\n");
    }
    const size_t taken = FilesMatching(Temp(), "R*.CSV").size();
    ClickReceive();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text.rfind("不能写入接收记录 " + Temp() + "R", 0), 0u) << boxes.Calls()[0].text;
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(FilesMatching(Recv(), "*.*").empty());
    EXPECT_TRUE(FilesMatching(Temp(), "*.tmp").empty());
    EXPECT_EQ(FilesMatching(Temp(), "R*.CSV").size(), taken);
}
