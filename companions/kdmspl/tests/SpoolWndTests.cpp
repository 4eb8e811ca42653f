#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "common/core/SuiteFolders.h"
#include "common/testing/InstalledSettings.h"
#include "companions/kdmspl/SpoolWnd.h"
#include "companions/kdmspl/resource.h"
#include "framework/testing/TempFolder.h"

// The spooler window in-process: a prepared hand-off, the registered message, and the files it leaves.
namespace {
std::vector<uint8_t> SmhBytes(uint16_t kind, const std::string& destName, uint32_t pages) {
    SmhFileHeader header;
    header.SetFormatId(kSmhFormatId);
    header.SetDocKind(kind);
    header.SetPageCount(pages);
    header.SetDestName(destName);
    header.SetDestNumber("0105551234");
    std::vector<uint8_t> bytes(header.raw.begin(), header.raw.end());
    for (uint32_t i = 0; i < pages; ++i) {
        SmhPageHeader page;
        page.SetCodedBytes(16);
        page.SetAdvanceBytes(16);
        bytes.insert(bytes.end(), page.raw.begin(), page.raw.end());
        bytes.insert(bytes.end(), 16, static_cast<uint8_t>(i));
    }
    return bytes;
}

template <typename Bytes>
void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}
std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class SpoolWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        m_root = std::string(temp) + "kdmspl_test_" + std::to_string(GetCurrentProcessId());
        m_recv = m_root + "\\Recv\\";
        m_temp = m_root + "\\Temp\\";
        CreateFolderPath(m_recv);
        CreateFolderPath(m_temp);
        m_spooler = std::make_unique<CSpooler>(m_recv, m_temp);
        m_window = std::make_unique<CSpoolWnd>(*m_spooler, false);
        ASSERT_TRUE(m_window->Create(GetModuleHandleA(nullptr)));
    }
    void TearDown() override {
        if (m_window && IsWindow(*m_window))
            DestroyWindow(*m_window);
        for (const char* folder : {"\\Recv\\", "\\Temp\\"}) {
            for (const std::string& name : FilesMatching(m_root + folder, "*.*"))
                DeleteFileA((m_root + folder + name).c_str());
            RemoveDirectoryA((m_root + folder).c_str());
        }
        RemoveDirectoryA(m_root.c_str());
    }
    void Broadcast() const { SendMessageA(*m_window, RegisterWindowMessageA(CSpoolWnd::kResendMessage), 0, 0); }
    int ListRows() const { return static_cast<int>(SendMessageA(m_window->JobList(), LB_GETCOUNT, 0, 0)); }

    std::string m_root, m_recv, m_temp;
    std::unique_ptr<CSpooler> m_spooler;
    std::unique_ptr<CSpoolWnd> m_window;
};
}  // namespace

TEST_F(SpoolWndTest, SendListLeavesOneRecordPerDestinationAndKeepsItsOwnDocuments) {
    const auto first = SmhBytes(2, "Orvex, Ltd", 3);
    WriteBytes(m_recv + "xmitfax0.smh", first);
    WriteBytes(m_recv + "xmitfax1.smh", SmhBytes(2, "", 1));
    WriteBytes(m_recv + "RESEND.TMP",
               m_recv + "xmitfax0.smh\r\n" + m_recv + "xmitfax1.smh\r\n" + m_recv + "xmitfax2.smh\r\n");
    Broadcast();

    EXPECT_EQ(ListRows(), 3);
    const auto records = FilesMatching(m_temp, "S*.CSV");
    ASSERT_EQ(records.size(), 1u);
    const auto lines = Lines(ReadBytes(m_temp + records[0]));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("\"Orvex, Ltd\",OK,0,\"", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("\",3,,S"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].rfind("0105551234,OK,0,", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind(",ERROR,0,", 0), 0u) << lines[2];
    EXPECT_EQ(lines[2].substr(lines[2].size() - 4), ",,0\r") << "no document for a failed send";

    // The record's document is the spooler's own copy, byte for byte; the sender's copies stay.
    const std::string keptName =
        lines[0].substr(lines[0].find(",,S") + 2, lines[0].rfind(',') - lines[0].find(",,S") - 2);
    EXPECT_EQ(ReadBytes(m_recv + keptName), std::string(first.begin(), first.end()));
    EXPECT_TRUE(Exists(m_recv + "xmitfax0.smh"));
    EXPECT_TRUE(Exists(m_recv + "xmitfax1.smh"));
    EXPECT_FALSE(Exists(m_temp + "kdmspl.tmp"));
}

TEST_F(SpoolWndTest, AListIsTakenOnceSoARepeatedBroadcastSendsNothingAgain) {
    WriteBytes(m_recv + "xmitfax0.smh", SmhBytes(2, "A", 1));
    WriteBytes(m_recv + "RESEND.TMP", m_recv + "xmitfax0.smh\r\n");
    Broadcast();
    Broadcast();
    EXPECT_EQ(ListRows(), 1);
    EXPECT_EQ(FilesMatching(m_temp, "S*.CSV").size(), 1u);
}

TEST_F(SpoolWndTest, InvalidCopyIsRecordedAsFailed) {
    WriteBytes(m_recv + "xmitfaxtemp.smh", std::string(500, 'x'));
    WriteBytes(m_recv + "RESEND.TMP", m_recv + "xmitfaxtemp.smh");
    Broadcast();
    const auto records = FilesMatching(m_temp, "S*.CSV");
    ASSERT_EQ(records.size(), 1u);
    const std::string line = ReadBytes(m_temp + records[0]);
    EXPECT_EQ(line.rfind(",ERROR,0,", 0), 0u) << line;
    EXPECT_EQ(FilesMatching(m_recv, "S*.smh").size(), 0u);
}

TEST_F(SpoolWndTest, ACopyWithoutANumberToDialIsRecordedAsFailedWithItsReason) {
    auto bytes = SmhBytes(2, "陈静", 1);
    SmhFileHeader header;
    std::copy_n(bytes.begin(), header.raw.size(), header.raw.begin());
    header.SetDestNumber("");
    std::copy(header.raw.begin(), header.raw.end(), bytes.begin());
    WriteBytes(m_recv + "xmitfax0.smh", bytes);
    WriteBytes(m_recv + "RESEND.TMP", m_recv + "xmitfax0.smh\r\n");
    Broadcast();
    const auto records = FilesMatching(m_temp, "S*.CSV");
    ASSERT_EQ(records.size(), 1u);
    const std::string line = ReadBytes(m_temp + records[0]);
    EXPECT_EQ(line.rfind("陈静,ERROR,0,", 0), 0u) << line;
    EXPECT_NE(line.find(",没有传真号码,S"), std::string::npos) << "the reason, and the document kept for the log";
}

TEST_F(SpoolWndTest, PrintCopyIsListedButNotLoggedAsASentFax) {
    WriteBytes(m_recv + "xmitfaxtemp.smh", SmhBytes(kSmhPrintKind, "", 2));
    WriteBytes(m_recv + "RESEND.TMP", m_recv + "xmitfaxtemp.smh");
    Broadcast();
    EXPECT_EQ(ListRows(), 1);
    EXPECT_TRUE(FilesMatching(m_temp, "S*.CSV").empty());
    EXPECT_TRUE(Exists(m_recv + "xmitfaxtemp.smh"));
}

TEST_F(SpoolWndTest, TheListScrollsSidewaysJustAsFarAsItsLongestRow) {
    HWND list = m_window->JobList();
    EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 0) << "nothing to scroll to yet";
    const std::string longCopy = m_recv + std::string(120, 'x') + ".smh";
    WriteBytes(m_recv + "xmitfax0.smh", SmhBytes(2, "陈静", 1));
    WriteBytes(longCopy, SmhBytes(2, "北京华信贸易有限公司", 1));
    WriteBytes(m_recv + "RESEND.TMP", m_recv + "xmitfax0.smh\r\n" + longCopy + "\r\n");
    Broadcast();
    ASSERT_EQ(ListRows(), 2);

    const auto rowWidth = [list](int row) {
        char text[512] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
        HDC dc = GetDC(list);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        return static_cast<int>(size.cx);
    };
    const int longest = rowWidth(1);
    ASSERT_GT(longest, rowWidth(0));
    const LRESULT extent = SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0);
    EXPECT_GE(extent, longest) << "the end of the longest row can be scrolled to";
    EXPECT_LE(extent, longest + 10) << "and no further";

    // A later, shorter job leaves the reach of the longest row.
    WriteBytes(m_recv + "RESEND.TMP", m_recv + "xmitfax0.smh\r\n");
    Broadcast();
    EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), extent);
}

// The real program as the Viewer starts it: ready for input, a broadcast two seconds later, a second start that
// ends at once while the first keeps running.
namespace {
std::string SpoolerPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "kdmspl.exe";
}

struct Process {
    PROCESS_INFORMATION pi{};
    bool Start(const std::string& exe) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        return CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr, &si,
                              &pi);
    }
    bool WaitExit(DWORD ms) const { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    ~Process() {
        if (pi.hProcess) {
            if (!WaitExit(0))
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

void RemoveFolderFiles(const std::string& folder) {
    for (const std::string& name : FilesMatching(folder, "*.*"))
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
}
}  // namespace

TEST(SpoolerProcess, BroadcastAfterStartLeavesTheRecordAndASecondStartEndsAtOnce) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "kdmspl_proc_" + std::to_string(GetCurrentProcessId());
    {
        CInstalledSettings settings(root);
        Process first;
        ASSERT_TRUE(first.Start(SpoolerPath()));
        ASSERT_EQ(WaitForInputIdle(first.pi.hProcess, 60000), 0u);

        WriteBytes(settings.RecvFolder() + "xmitfax0.smh", SmhBytes(2, "Dest", 2));
        WriteBytes(settings.RecvFolder() + "RESEND.TMP", settings.RecvFolder() + "xmitfax0.smh\r\n");
        Process second;
        ASSERT_TRUE(second.Start(SpoolerPath()));
        EXPECT_TRUE(second.WaitExit(10000));

        DWORD_PTR result = 0;
        SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA(CSpoolWnd::kResendMessage), 0, 0, SMTO_ABORTIFHUNG,
                            10000, &result);
        const auto records = FilesMatching(settings.TempFolder(), "S*.CSV");
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(ReadBytes(settings.TempFolder() + records[0]).rfind("Dest,OK,0,", 0), 0u);
        EXPECT_FALSE(first.WaitExit(0)) << "the first copy keeps running";

        HWND window = FindWindowA("MiroloKdmsplWnd", nullptr);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(first.WaitExit(10000));
    }
    for (const char* folder : {"\\tray\\", "\\Log\\", "\\Temp\\", "\\"})
        RemoveFolderFiles(root + folder);
}
