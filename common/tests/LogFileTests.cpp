#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/LogFile.h"
#include "common/core/LogLine.h"
#include "common/core/TextModeLines.h"
#include "common/testing/InstalledSettings.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"

// The logs on disk: what a load takes in and leaves, what it reports, and what it never touches.
namespace {
constexpr UINT kProgressMessage = WM_USER + 1127;
std::vector<std::pair<WPARAM, LPARAM>> g_progress;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kProgressMessage)
        g_progress.emplace_back(wp, lp);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string Received(const std::string& from,
                     const std::string& date,
                     const std::string& file,
                     const char* read = "0") {
    ReceiveLogRecord record;
    const std::string_view fields[] = {from, "OK", date, "1", file, read};
    record.Set(fields);
    std::string line;
    AppendTextModeOutput(line, FormatLogLine(record));
    return line;
}

class LogFileTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LogFileTestOwner";
        RegisterClassA(&wc);
        m_owner = CreateWindowExA(0, "LogFileTestOwner", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        g_progress.clear();
        m_folders.recvFolder = m_settings.RecvFolder();
        m_folders.logFolder = m_settings.LogFolder();
        m_folders.tempFolder = m_settings.TempFolder();
    }
    void TearDown() override { DestroyWindow(m_owner); }

    std::string LogPath() { return m_settings.LogFolder() + "receive.csv"; }
    std::string Temp(const char* name) { return m_settings.TempFolder() + name; }
    CLogFile File() { return CLogFile(ReceiveLogLayout(), m_folders, m_owner, kProgressMessage); }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    SuiteSettings m_folders;
    HWND m_owner = nullptr;
    LogList m_list{ReceiveLogLayout(), {2026, 12, 8, 9, 0, 0}};
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(LogFileTest, LoadingReportsReadingThenSavingThenReady) {
    std::string log;
    for (int i = 0; i < 300; ++i)
        log += Received("s" + std::to_string(i), "Dec.07,2026 09:00:00", "");
    WriteFileBytes(LogPath(), log);
    File().Load(m_list);
    ASSERT_EQ(m_list.Size(), 300u);
    ASSERT_FALSE(g_progress.empty());
    EXPECT_EQ(g_progress.back(), std::make_pair(WPARAM(100), LPARAM(0)));
    // The phases in the order they came, each one once, and the percentages only growing within each.
    std::vector<LPARAM> phases;
    std::vector<size_t> reports;
    WPARAM last = 0;
    for (const auto& [percent, phase] : g_progress) {
        if (phases.empty() || phases.back() != phase) {
            phases.push_back(phase);
            reports.push_back(0);
            last = 0;
        }
        EXPECT_GE(percent, last);
        last = percent;
        ++reports.back();
    }
    EXPECT_EQ(phases, (std::vector<LPARAM>{1, 2, 0}));
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_GT(reports[0], 10u);
    EXPECT_GT(reports[1], 10u);
    EXPECT_LE(g_progress.size(), 210u) << "a report per percent, not per line";
}

TEST_F(LogFileTest, OnlyPendingFilesOfThisLogAreMergedAndRemoved) {
    WriteFileBytes(LogPath(), "");
    WriteFileBytes(Temp("R1.CSV"), Received("pending", "Dec.08,2026 08:00:00", ""));
    WriteFileBytes(Temp("Rreceive.csv.CSV"), Received("skipped", "Dec.08,2026 08:00:00", ""));
    WriteFileBytes(Temp("S1.CSV"), "a send,OK,1,\"Dec.08,2026 08:00:00\",1,,,0\r\n");
    WriteFileBytes(Temp("BR1.CSV"), "nothing it matches\r\n");
    File().Load(m_list);
    ASSERT_EQ(m_list.Size(), 1u);
    EXPECT_EQ(m_list.At(0).Field(0), "pending");
    EXPECT_FALSE(FileExists(Temp("R1.CSV")));
    EXPECT_TRUE(FileExists(Temp("Rreceive.csv.CSV"))) << "a name holding the log's own is never taken";
    EXPECT_TRUE(FileExists(Temp("S1.CSV"))) << "the send log's";
    EXPECT_TRUE(FileExists(Temp("BR1.CSV"))) << "read marks come after the load";

    EXPECT_FALSE(File().ApplyReadMarks(m_list));
    EXPECT_FALSE(FileExists(Temp("BR1.CSV"))) << "a mark that matches nothing goes too";
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(LogFileTest, ALogThatCannotBeWrittenKeepsWhatWasHandedOver) {
    const std::string old = Received("old", "Dec.07,2026 09:00:00", "");
    WriteFileBytes(LogPath(), old);
    WriteFileBytes(Temp("R1.CSV"), Received("pending", "Dec.08,2026 08:00:00", ""));
    SetFileAttributesA(LogPath().c_str(), FILE_ATTRIBUTE_READONLY);
    File().Load(m_list);
    SetFileAttributesA(LogPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(m_list.Size(), 2u);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 receive.csv");
    EXPECT_EQ(ReadFileBytes(LogPath()), old);
    EXPECT_TRUE(FileExists(Temp("R1.CSV"))) << "merged again by the next load that can write the log";
}

TEST_F(LogFileTest, AMissingLogIsCreatedFromThePendingRecords) {
    const std::string pending = Received("first", "Dec.08,2026 08:00:00", "");
    WriteFileBytes(Temp("R1.CSV"), pending);
    File().Load(m_list);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 receive.csv");
    EXPECT_EQ(ReadFileBytes(LogPath()), pending);
    EXPECT_FALSE(FileExists(Temp("R1.CSV")));
}

TEST_F(LogFileTest, DocumentsAreDeletedOnlyInsideTheFaxFolderAndFailuresAreSaid) {
    WriteFileBytes(m_settings.RecvFolder() + "a.smh", "doc");
    WriteFileBytes(m_settings.ProgramFolder() + "Addr.csv", "book");
    CreateFolderPath(m_settings.RecvFolder() + "busy.smh");  // a folder by that name cannot be deleted as a file
    const CLogFile file = File();
    for (const char* name : {"a.smh", "..\\Addr.csv", "", "gone.smh", "busy.smh"}) {
        ReceiveLogRecord record;
        const std::string_view fields[] = {"x", "OK", "d", "1", name, "0"};
        record.Set(fields);
        file.DeleteDocument(record);
    }
    EXPECT_FALSE(FileExists(m_settings.RecvFolder() + "a.smh"));
    EXPECT_TRUE(FileExists(m_settings.ProgramFolder() + "Addr.csv"));
    ASSERT_EQ(m_boxes.Calls().size(), 1u) << "a document already gone is no failure";
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能删除文件 busy.smh");
    EXPECT_EQ(m_boxes.Calls()[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
}
