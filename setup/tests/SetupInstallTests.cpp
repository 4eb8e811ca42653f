// The installer as a user runs it, in a prefix of its own: from the distribution disks of this build to a working
// installation, a second installation over it, the uninstaller, and the ways an installation stops.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/core/SmhWriter.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "setup/core/InstallPaths.h"
#include "setup/core/InstalledValues.h"
#include "setup/core/UninstallRecord.h"
#include "tools/process/ProcessWindows.h"
#include "tools/process/RemoteControl.h"
#include "tools/process/SetupDriver.h"
#include "tools/szdd/core/Szdd.h"

namespace {

const char* const kInstall = "C:\\Program Files\\东方 传真";
const char* const kGroup = "东方传真 工具";
const char* const kDone = "安装完毕。";

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Disk(int number) {
    return BuiltProgram("..\\disks\\Disk") + std::to_string(number);
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

setup::FolderVars InstalledFolders() {
    setup::FolderVars vars;
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    vars.windows = folder;
    GetSystemDirectoryA(folder, MAX_PATH);
    vars.system = folder;
    vars.programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    vars.startup = ShellFolder(CSIDL_STARTUP);
    vars.programs = ShellFolder(CSIDL_PROGRAMS);
    vars.desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    vars.own = vars.source = Disk(1);
    vars.install = kInstall;
    vars.group = kGroup;
    return vars;
}

std::vector<uint8_t> RegistryValue(HKEY root, const std::string& subkey, const char* name, DWORD* type) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    DWORD size = 0;
    RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
    std::vector<uint8_t> data(size);
    RegQueryValueExA(key, name, nullptr, type, data.data(), &size);
    RegCloseKey(key);
    return data;
}

bool KeyExists(HKEY root, const char* subkey) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

HKEY Root(uint32_t root) {
    return root == setup::kClassesRoot    ? HKEY_CLASSES_ROOT
           : root == setup::kLocalMachine ? HKEY_LOCAL_MACHINE
                                          : HKEY_CURRENT_USER;
}

std::string Profile(const char* section, const char* key, const char* file = nullptr) {
    char value[512] = {};
    if (file)
        GetPrivateProfileStringA(section, key, "", value, sizeof value, file);
    else
        GetProfileStringA(section, key, "", value, sizeof value);
    return value;
}

bool HasPrinter(const char* name) {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count))
        return false;
    auto* printers = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (std::string(printers[i].pPrinterName) == name)
            return true;
    }
    return false;
}

struct Link {
    std::string target, arguments, icon;
    int show = 0, iconIndex = -1;
};

Link ReadLink(const std::string& file) {
    Link link;
    IShellLinkA* shell = nullptr;
    IPersistFile* persist = nullptr;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shell))) &&
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
        SUCCEEDED(persist->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = {};
        shell->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        link.target = text;
        shell->GetArguments(text, MAX_PATH);
        link.arguments = text;
        shell->GetIconLocation(text, MAX_PATH, &link.iconIndex);
        link.icon = text;
    }
    if (persist)
        persist->Release();
    if (shell)
        shell->Release();
    // Wine's shell link reads every show command back as 1; the file's header holds what was saved.
    std::vector<uint8_t> bytes = ReadBytes(file);
    if (bytes.size() >= 0x40)
        link.show = bytes[0x3C] | bytes[0x3D] << 8;
    return link;
}

BOOL CALLBACK MatchText(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<std::pair<const char*, HWND>*>(lp);
    if (IsWindowVisible(window) && WindowText(window).find(search->first) != std::string::npos) {
        search->second = window;
        return FALSE;
    }
    return TRUE;
}

HWND WindowContaining(const char* text) {
    std::pair<const char*, HWND> search{text, nullptr};
    EnumWindows(MatchText, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Windows the installation left open (the group's folder window) and the programs it started, each ended before
// the next step touches their files.
void CloseStartedPrograms() {
    for (const char* caption : {"主菜单", "KDM-540 自动接收"}) {
        while (HWND window = FindWindowA(nullptr, caption))
            CRunningProgram::Of(window).End();
    }
    // The folder window belongs to the shell, whose process may show other windows.
    while (HWND window = FindWindowA(nullptr, kGroup)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (!WaitUntil([&] { return !IsWindow(window); }, 10000))
            break;
    }
}

void WaitForStartedPrograms() {
    for (const char* caption : {"主菜单", "KDM-540 自动接收"})
        EXPECT_TRUE(WaitUntil([&] { return FindWindowA(nullptr, caption) != nullptr; }, 20000)) << caption;
}

// A program of the installation comes up with its window, not with "注册错误".
bool StartsWithWindow(const std::string& program, const std::string& arguments, const char* caption) {
    CRunningProgram started = CRunningProgram::Start("\"" + program + "\" " + arguments);
    bool up = WaitUntil([&] { return VisibleWindow(started.Id(), caption, true) != nullptr; }, 20000);
    EXPECT_TRUE(up) << program << " shows" << Showing(started.Id());
    return up;
}

class SetupInstall : public testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
};

TEST_F(SetupInstall, CancelledOrIncompleteDialogWritesNothing) {
    SetupAnswers cancel;
    cancel.cancel = true;
    SetupOutcome outcome = DriveSetup(Disk(1) + "\\Setup.exe", cancel);
    ASSERT_TRUE(outcome.sawMainDialog);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{"安装中断。"});
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(Profile("COMMON", "ProgPath", "KDM540.INI"), "");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Orvex\\mirolo\\Settings"));

    // An empty group name leaves the dialog open, without a message.
    CRunningProgram setup = CRunningProgram::Start("\"" + Disk(1) + "\\Setup.exe\"");
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindSetupDialog(setup.Id())) != nullptr; }));
    SetDlgItemTextA(dialog, 206, "");
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(Profile("COMMON", "ProgPath", "KDM540.INI"), "");
    // An install folder whose files would not fit the uninstall records is refused before anything is written.
    SetDlgItemTextA(dialog, 206, "LUMENPOST");
    SetDlgItemTextA(dialog, 205, ("C:\\" + std::string(120, 'x')).c_str());
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    std::string refusal = AnswerMessageBox(setup.Id(), IDOK);
    EXPECT_NE(refusal.find(std::string(120, 'x')), std::string::npos) << refusal;
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(Profile("COMMON", "ProgPath", "KDM540.INI"), "");
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(AnswerMessageBox(setup.Id(), IDOK), "安装中断。");
    EXPECT_TRUE(setup.Ended(10000));
}

TEST_F(SetupInstall, SourceNotNamedDisk1StopsAtTheMissingSecondDisk) {
    // Disk 1's files alone, in a folder of another name: disk 2's files are looked for in a folder whose last
    // five characters became "Disk2", which does not exist.
    std::string source = "C:\\setup source";
    CreateDirectoryA(source.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((Disk(1) + "\\*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            CopyFileA((Disk(1) + "\\" + found.cFileName).c_str(), (source + "\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(find, &found));
    FindClose(find);

    SetupAnswers answers;
    answers.install = "C:\\Incomplete";
    SetupOutcome outcome = DriveSetup(source + "\\Setup.exe", answers);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0], "安装未完成。\n源目录文件不存在。\n");
    // What the dialog's OK wrote stays; the copying stopped at the first file of disk 2.
    EXPECT_EQ(Profile("COMMON", "ProgPath", "KDM540.INI"), "C:\\Incomplete");
    EXPECT_TRUE(Exists("C:\\Incomplete\\VIEWER.EXE"));
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_FALSE(Exists(std::string(system) + "\\KDMLIB.DLL"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Orvex\\mirolo\\Settings"));
}

TEST_F(SetupInstall, InstallsReinstallsAndUninstalls) {
    SetupAnswers answers;
    answers.install = kInstall;
    answers.group = kGroup;
    answers.port = 2;
    SetupOutcome outcome = DriveSetup(Disk(1) + "\\Setup.exe", answers);
    ASSERT_TRUE(outcome.sawMainDialog);
    ASSERT_EQ(outcome.messages, std::vector<std::string>{kDone});
    EXPECT_EQ(outcome.exitCode, 0u);
    const setup::FolderVars vars = InstalledFolders();

    // Every row copied, byte for byte what the disk holds; the data files empty.
    for (size_t i = 0; i < setup::kInstallFileCount; ++i) {
        const setup::InstallFileEntry& row = setup::kInstallFiles[i];
        setup::RowPaths paths = setup::ResolveRow(row, vars);
        if (!row.copy)
            continue;
        if (paths.destination.empty()) {
            EXPECT_TRUE(Exists(paths.folder)) << paths.folder;
            continue;
        }
        std::vector<uint8_t> packed = ReadBytes(Disk(row.disk) + "\\" + row.sourceName);
        auto expanded = szdd::Expand(packed.data(), packed.size());
        ASSERT_TRUE(expanded) << row.sourceName;
        EXPECT_EQ(ReadBytes(paths.destination), *expanded) << paths.destination;
    }

    for (const setup::IniValue& value : setup::Kdm540IniValues(kInstall, 2))
        EXPECT_EQ(Profile(value.section.c_str(), value.key.c_str(), "KDM540.INI"), value.value) << value.key;
    EXPECT_EQ(Profile("LUMENPOST Fax", "WindowsVersion"), "863");
    // The printer entries as the spooler keeps them once the printer-folder library has added the printer.
    EXPECT_NE(Profile("PrinterPorts", "LUMENPOST Fax"), "");
    EXPECT_NE(Profile("Devices", "LUMENPOST Fax"), "");
    EXPECT_TRUE(HasPrinter("LUMENPOST Fax"));

    for (const setup::RegistryValue& value : setup::RegistryValues(kInstall)) {
        DWORD type = 0;
        std::vector<uint8_t> data =
            RegistryValue(Root(value.root), value.subkey, value.name.empty() ? nullptr : value.name.c_str(), &type);
        std::vector<uint8_t> expected(value.data.begin(), value.data.end());
        if (!value.binary)
            expected.push_back(0);
        EXPECT_EQ(type, value.binary ? static_cast<DWORD>(REG_BINARY) : static_cast<DWORD>(REG_SZ)) << value.subkey;
        EXPECT_EQ(data, expected) << value.subkey << " " << value.name;
    }
    auto uninstall = setup::EncodeUninstallValues(setup::BuildUninstallRecords(vars));
    ASSERT_TRUE(uninstall);
    DWORD type = 0;
    EXPECT_EQ(RegistryValue(HKEY_CURRENT_USER, "Software\\Orvex\\mirolo\\Settings", "UnInstall Info", &type),
              uninstall->info);
    EXPECT_EQ(RegistryValue(HKEY_CURRENT_USER, "Software\\Orvex\\mirolo\\Settings", "UnInstall Data", &type),
              uninstall->data);

    int shortcuts = 0;
    for (size_t i = 0; i < setup::kInstallFileCount; ++i) {
        const setup::InstallFileEntry& row = setup::kInstallFiles[i];
        for (const setup::ShortcutPlace& place : setup::RowShortcuts(row, vars)) {
            Link link = ReadLink(place.file);
            std::string target = setup::ResolveRow(row, vars).destination;
            EXPECT_EQ(link.target, target) << place.file;
            EXPECT_EQ(link.arguments, row.argumentTemplate ? setup::ExpandMacros(row.argumentTemplate, vars) : "");
            EXPECT_EQ(link.show, static_cast<int>(row.showCommand)) << place.file;
            EXPECT_EQ(link.icon, target);
            EXPECT_EQ(link.iconIndex, 0);
            ++shortcuts;
        }
    }
    EXPECT_EQ(shortcuts, 9);

    // Setup started the menu window and the receive monitor.
    WaitForStartedPrograms();
    CloseStartedPrograms();
    const std::string program = std::string(kInstall) + "\\";
    EXPECT_TRUE(StartsWithWindow(program + "LOGBOOK.EXE", "\"" + program + "LOG\\RECEIVE.CSV\"", "查看"));

    // The document type opens the Viewer on the document.
    std::string fax = program + "TRAY\\测试.smh";
    std::vector<uint8_t> document =
        BuildSmhDocument(MakeSmhHeader(1), {SmhPageSpec(mh::EncodeMh(kdm::BilevelImage(1728, 200)))});
    WriteBytes(fax, std::string(document.begin(), document.end()));
    HINSTANCE shell = ShellExecuteA(nullptr, "open", fax.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(shell), 32);
    HWND viewer = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (viewer = WindowContaining("测试.smh")) != nullptr; }, 20000));
    if (viewer)
        CRunningProgram::Of(viewer).End();

    // A second installation keeps the user's address book and logs.
    WriteBytes(program + "ADDR.CSV", "010-1234,王芳,,\r\n");
    WriteBytes(program + "LOG\\SEND.CSV", "a send log line\r\n");
    CloseStartedPrograms();
    outcome = DriveSetup(Disk(1) + "\\Setup.exe", answers);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{kDone});
    WaitForStartedPrograms();
    std::vector<uint8_t> book = ReadBytes(program + "ADDR.CSV");
    EXPECT_EQ(std::string(book.begin(), book.end()), "010-1234,王芳,,\r\n");
    std::vector<uint8_t> log = ReadBytes(program + "LOG\\SEND.CSV");
    EXPECT_EQ(std::string(log.begin(), log.end()), "a send log line\r\n");
    CloseStartedPrograms();

    // A damaged disk file stops the installation without touching the program it would have replaced.
    const std::string damaged = "C:\\损坏的盘";
    for (int disk : {1, 2}) {
        std::string folder = damaged + "\\Disk" + std::to_string(disk);
        CreateDirectoryA(damaged.c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((Disk(disk) + "\\*").c_str(), &found);
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                CopyFileA((Disk(disk) + "\\" + found.cFileName).c_str(), (folder + "\\" + found.cFileName).c_str(),
                          FALSE);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    std::vector<uint8_t> viewerPacked = ReadBytes(damaged + "\\Disk1\\VIEWER.EX_");
    WriteBytes(damaged + "\\Disk1\\VIEWER.EX_",
               std::string(viewerPacked.begin(), viewerPacked.begin() + viewerPacked.size() / 2));
    const std::vector<uint8_t> installedViewer = ReadBytes(program + "VIEWER.EXE");
    outcome = DriveSetup(damaged + "\\Disk1\\Setup.exe", answers);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{"安装未完成。\n"});
    EXPECT_EQ(ReadBytes(program + "VIEWER.EXE"), installedViewer);
    EXPECT_FALSE(Exists(program + "VIEWER.EXE.$$$"));

    // The uninstaller removes what the records list; the user's address book, logs and faxes stay.
    CRunningProgram remover = CRunningProgram::Start("\"" + program + "REMOVER.EXE\" /R");
    EXPECT_NE(AnswerMessageBox(remover.Id(), IDYES), "");
    std::string report = AnswerMessageBox(remover.Id(), IDOK, 60000);
    EXPECT_NE(report.find("REMOVER.EXE"), std::string::npos) << report;
    EXPECT_TRUE(remover.Ended(10000));
    for (const setup::UninstallRecord& record : setup::BuildUninstallRecords(vars)) {
        if (record.type == setup::kUninstallFile && record.path.find("REMOVER.EXE") == std::string::npos) {
            EXPECT_FALSE(Exists(record.path)) << record.path;
        }
        if (record.type == setup::kUninstallRegistryKey) {
            EXPECT_FALSE(KeyExists(Root(record.root), record.path.c_str())) << record.path;
        }
    }
    EXPECT_FALSE(Exists(setup::GroupFolder(vars)));
    EXPECT_FALSE(Exists(program + "TEMP"));
    EXPECT_EQ(Profile("LUMENPOST Fax", "WindowsVersion"), "");
    EXPECT_FALSE(HasPrinter("LUMENPOST Fax"));
    EXPECT_TRUE(Exists(program + "ADDR.CSV"));
    EXPECT_TRUE(Exists(program + "LOG\\SEND.CSV"));
    EXPECT_TRUE(Exists(fax));
}

}  // namespace
