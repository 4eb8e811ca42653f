#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/testing/TempFolder.h"
#include "instkit/Instkit.h"
#include "instkit/tests/InstkitDll.h"
#include "instkit/tests/PrinterTesting.h"
#include "tools/process/RemoteControl.h"

// The entry points an installer starts like command-line functions, the network printer browser and the user's
// language.
namespace {
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kMru[] = "InstallLocationsMRU";

// The value as stored, its terminating NUL included.
std::string RunOnceCommand() {
    char text[512] = {};
    DWORD size = sizeof text;
    DWORD type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunOnce, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(none)";
    const LONG read = RegQueryValueExA(key, "ZKSETUP", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ || size == 0 || text[size - 1] != '\0')
        return "(none)";
    return text;
}

void SetMru(const char* order, const char* b, const char* a) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kMru);
    if (!order)
        return;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMru, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "MRUList", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), lstrlenA(order) + 1);
    RegSetValueExA(key, "b", 0, REG_SZ, reinterpret_cast<const BYTE*>(b), lstrlenA(b) + 1);
    RegSetValueExA(key, "a", 0, REG_SZ, reinterpret_cast<const BYTE*>(a), lstrlenA(a) + 1);
    RegCloseKey(key);
}

class SelectSetupTest : public testing::Test {
protected:
    void TearDown() override {
        SetMru(nullptr, nullptr, nullptr);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunOnce, "ZKSETUP");
    }
    void Select(const char* commandLine) {
        std::string line = commandLine;
        Instkit().SelectSetup(nullptr, nullptr, line.data(), SW_SHOW);
    }
};
}  // namespace

TEST_F(SelectSetupTest, TwoWordsNameTheWordAndTheSetupFolder) {
    SetMru("ba", "E:\\Disk1", "F:\\");
    Select("X D:\\");
    EXPECT_EQ(RunOnceCommand(), "D:\\SETUP.EXE /k \"X\"");
    Select("KDM540 D:\\Disks\\One");
    EXPECT_EQ(RunOnceCommand(), "D:\\Disks\\One\\SETUP.EXE /k \"KDM540\"");
}

TEST_F(SelectSetupTest, OneWordTakesTheMostRecentInstallLocation) {
    SetMru("ba", "E:\\Disk1", "F:\\");
    Select("X");
    EXPECT_EQ(RunOnceCommand(), "E:\\Disk1\\SETUP.EXE /k \"X\"");
    SetMru(nullptr, nullptr, nullptr);
    Select("X");
    EXPECT_EQ(RunOnceCommand(), "SETUP.EXE /k \"X\"");
}

TEST_F(SelectSetupTest, TheInstallDriverIsDeletedAtTheNextRestart) {
    Select("X D:\\");
    wchar_t pending[8192] = {};
    DWORD size = sizeof pending - sizeof(wchar_t);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                           L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending, &size),
              ERROR_SUCCESS);
    bool found = false;
    for (const wchar_t* name = pending; *name; name += wcslen(name) + 1)
        found = found || wcsstr(name, L"\\Zk2inst.drv") != nullptr;
    EXPECT_TRUE(found);
}

TEST_F(SelectSetupTest, TheVendorSetupUninstallsThePrinterAndStartsTheSetupProgram) {
    ASSERT_TRUE(PrepareTestDriver());
    CTempFolder location;
    ASSERT_TRUE(
        CopyFileA(BuiltProgram("instkit_recording_setup.exe").c_str(), (location.Path() + "SETUP.EXE").c_str(), FALSE));
    std::string folder = location.Path();
    folder.pop_back();  // the library adds the backslash
    SetMru("a", "unused", folder.c_str());

    ASSERT_NE(InstallTestPrinter("Instkit Vendor Printer", {}), 0u);
    std::string line = "Instkit Vendor Printer";
    Instkit().SelectVendorSetup(nullptr, nullptr, line.data(), SW_HIDE);
    EXPECT_FALSE(PrinterExists("Instkit Vendor Printer"));

    const std::string record = location.Path() + "started.txt";
    for (int i = 0; i < 100 && !FileExists(record); ++i)
        Sleep(100);
    // The program starts shown, whatever show state the installer's command was given.
    EXPECT_NE(ReadFileBytes(record).find("\r\n5\r\n"), std::string::npos) << ReadFileBytes(record);
}

namespace {
struct SeenBrowser {
    std::string title;
    std::string ok;
    std::string cancel;
    int ticks = 0;
};
SeenBrowser g_seen;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && GetDlgItem(window, IDOK) && GetDlgItem(window, IDCANCEL)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

std::string TextOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Runs inside the browser's own modal loop: reads what it shows, then cancels it.
void CALLBACK CloseBrowser(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog && ++g_seen.ticks < 100)
        return;
    KillTimer(nullptr, timer);
    if (!dialog)
        return;
    g_seen.title = TextOf(dialog);
    g_seen.ok = TextOf(GetDlgItem(dialog, IDOK));
    g_seen.cancel = TextOf(GetDlgItem(dialog, IDCANCEL));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

TEST(AddNetPort, TheInstallersTextsTitleTheBrowserAndLabelItsButtons) {
    OleInitialize(nullptr);
    g_seen = {};
    char path[INSTKIT_NAME_BUFFER] = "old";
    SetTimer(nullptr, 0, 100, CloseBrowser);
    const DWORD result = Instkit().AddNetPort(nullptr, "A|B|C|", "选择网络打印机", path);
    EXPECT_EQ(g_seen.title, "A");
    EXPECT_EQ(g_seen.ok, "B");
    EXPECT_EQ(g_seen.cancel, "C");
    EXPECT_EQ(result, 0u);
    EXPECT_STREQ(path, "");
    OleUninitialize();
}
