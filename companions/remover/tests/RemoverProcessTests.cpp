#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/InstalledSettings.h"
#include "common/testing/DeviceIniScope.h"
#include "framework/testing/TempFolder.h"
#include "setup/core/InstallPaths.h"
#include "setup/core/UninstallRecord.h"
#include "tools/process/RemoteControl.h"

// The uninstaller as the uninstall registration starts it: a process whose message boxes the test answers as a
// user does. The installation it removes is laid out below a temporary folder from the records Setup builds; the
// shared keys and values of the prefix that it touches are put back at the end.
namespace {
constexpr char kCaption[] = "卸载软件";
constexpr char kProductKey[] = "Software\\Orvex\\mirolo";
constexpr char kSettingsKey[] = "Software\\Orvex\\mirolo\\Settings";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\ORVEX Kdm-540";
constexpr char kSessionKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPrinter[] = "LUMENPOST Fax";

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetBinary(const char* name, const std::vector<uint8_t>& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void StoreRecords(const std::vector<setup::UninstallRecord>& records) {
    const auto values = setup::EncodeUninstallValues(records);
    ASSERT_TRUE(values) << "a path longer than its field";
    SetBinary("UnInstall Info", values->info);
    SetBinary("UnInstall Data", values->data);
}

// A key of HKEY_CLASSES_ROOT the Viewer's tests share, kept aside below a key of the test's own meanwhile.
class CSavedKey {
public:
    CSavedKey(HKEY root, const std::string& path) : m_root(root), m_path(path), m_copy(kCopies + ("\\" + path)) {
        HKEY source = nullptr, copy = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS)
            return;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, m_copy.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy,
                            nullptr) == ERROR_SUCCESS) {
            m_saved = RegCopyTreeA(source, nullptr, copy) == ERROR_SUCCESS;
            RegCloseKey(copy);
        }
        RegCloseKey(source);
    }
    ~CSavedKey() {
        RegDeleteTreeA(m_root, m_path.c_str());
        HKEY copy = nullptr, target = nullptr;
        if (m_saved && RegOpenKeyExA(HKEY_CURRENT_USER, m_copy.c_str(), 0, KEY_READ, &copy) == ERROR_SUCCESS) {
            if (RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
                ERROR_SUCCESS) {
                RegCopyTreeA(copy, nullptr, target);
                RegCloseKey(target);
            }
            RegCloseKey(copy);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, m_copy.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kCopies);
    }
    CSavedKey(const CSavedKey&) = delete;
    CSavedKey& operator=(const CSavedKey&) = delete;

private:
    static constexpr char kCopies[] = "Software\\Mirolo Test Copies";
    HKEY m_root;
    std::string m_path, m_copy;
    bool m_saved = false;
};

// The deletions Windows carries out at the next restart: "\??\path" and an empty target, pair by pair. What the
// prefix had before comes back at the end, so that no later restart of the prefix acts on the test's files.
class CPendingDeletions {
public:
    CPendingDeletions() { m_existed = Read(m_saved); }
    ~CPendingDeletions() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (m_existed)
            RegSetValueExA(key, kValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(m_saved.data()),
                           static_cast<DWORD>(m_saved.size()));
        else
            RegDeleteValueA(key, kValue);
        RegCloseKey(key);
    }
    CPendingDeletions(const CPendingDeletions&) = delete;
    CPendingDeletions& operator=(const CPendingDeletions&) = delete;

    // The paths to delete that were added since the scope began, in order.
    std::vector<std::string> Added() const {
        std::string now;
        Read(now);
        std::vector<std::string> paths;
        const std::string added = now.substr(std::min(now.size(), m_saved.empty() ? 0 : m_saved.size() - 1));
        for (size_t at = 0; at < added.size();) {
            const std::string source = added.c_str() + at;
            at += source.size() + 1;
            const std::string target = at < added.size() ? added.c_str() + at : "";
            at += target.size() + 1;
            if (!source.empty() && target.empty())
                paths.push_back(source.rfind("\\??\\", 0) == 0 ? source.substr(4) : source);
        }
        return paths;
    }

private:
    static constexpr char kValue[] = "PendingFileRenameOperations";

    static bool Read(std::string& bytes) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        DWORD size = 0;
        bool found = RegQueryValueExA(key, kValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
        bytes.assign(size, '\0');
        found = found && RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()),
                                          &size) == ERROR_SUCCESS;
        RegCloseKey(key);
        return found;
    }

    bool m_existed = false;
    std::string m_saved;
};

// A message box's text, whole (it may be longer than a caption).
std::string BoxText(HWND box) {
    // Windows and Wine give the message text the static control id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    const LRESULT length = SendMessageA(text, WM_GETTEXTLENGTH, 0, 0);
    std::string bytes(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(text, WM_GETTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

// The uninstaller's next message box; the one answered before is gone first.
HWND NextBox(const CRunningProgram& program, HWND answered = nullptr) {
    if (answered)
        WaitUntil([&] { return !IsWindow(answered); }, 20000);
    HWND box = nullptr;
    WaitUntil([&] { return (box = VisibleWindow(program.Id(), kCaption)) != nullptr || program.Ended(0); }, 30000);
    return box;
}

void Press(HWND box, int button) {
    SendMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool HasLine(const std::string& text, const std::string& line) {
    return Contains("\n" + text + "\n", "\n" + line + "\n");
}

class RemoverTest : public ::testing::Test {
protected:
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvex");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        WriteProfileStringA("LUMENPOST Fax", nullptr, nullptr);
    }

    // The folders of an installation, all below the test's temporary folder.
    setup::FolderVars Folders() const {
        setup::FolderVars vars;
        const std::string root = m_root.Path();
        vars.windows = root + "WINDOWS";
        vars.system = vars.windows + "\\SYSTEM32";
        vars.programFiles = root + "Program Files";
        vars.programs = root + "Start Menu\\Programs";
        vars.startup = vars.programs + "\\Startup";
        vars.desktop = root + "Desktop";
        vars.install = vars.programFiles + "\\LUMENPOST";
        vars.own = vars.source = root;
        vars.group = "LUMENPOST";
        return vars;
    }

    std::string InstalledRemover() const { return Folders().install + "\\REMOVER.EXE"; }

    // Everything the records list, as Setup leaves it, with the uninstaller itself among the installed files.
    void LayOut(const std::vector<setup::UninstallRecord>& records) {
        for (const setup::UninstallRecord& record : records) {
            switch (record.type) {
            case setup::kUninstallFile:
                CreateFolderPath(record.path.substr(0, record.path.rfind('\\')));
                if (record.path == InstalledRemover())
                    ASSERT_TRUE(CopyFileA(BuiltProgram("REMOVER.EXE").c_str(), record.path.c_str(), FALSE));
                else
                    WriteFileBytes(record.path, "installed");
                break;
            case setup::kUninstallFolder:
                CreateFolderPath(record.path);
                break;
            case setup::kUninstallIniEntry:
                WritePrivateProfileStringA(record.section.c_str(),
                                           record.key.empty() ? "WindowsVersion" : record.key.c_str(),
                                           "KDMFX,LPT1:", record.path.c_str());
                break;
            case setup::kUninstallIniSection:
                WriteProfileStringA(record.path.c_str(), "WindowsVersion", "863");
                break;
            case setup::kUninstallRegistryKey:
                break;
            }
        }
    }

    CRunningProgram StartRemover(const std::string& arguments = "/R") const {
        return CRunningProgram::Start("\"" + InstalledRemover() + "\" " + arguments);
    }

    CTempFolder m_root;
    CPendingDeletions m_pending;
};

std::string IniValue(const std::string& file, const std::string& section, const std::string& key) {
    char value[64] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "(none)", value, sizeof value, file.c_str());
    return value;
}
}  // namespace

TEST_F(RemoverTest, NoChangesNothingAndYesRemovesTheInstallationButNotTheUsersFiles) {
    CSavedKey smh(HKEY_CLASSES_ROOT, ".smh");
    CSavedKey documentType(HKEY_CLASSES_ROOT, "Viewer.Document");
    const setup::FolderVars vars = Folders();
    const std::vector<setup::UninstallRecord> records = setup::BuildUninstallRecords(vars);
    LayOut(records);
    const std::string install = vars.install + "\\";
    const std::string winIni = vars.windows + "\\win.ini";
    // Setup's registry values, the user's files and what the suite left while it ran.
    CInstalledSettings settings(vars.install);
    StoreRecords(records);
    CInstalledSettings::Write("PROGRAM_DIR", install);
    RegSetValueA(HKEY_CLASSES_ROOT, ".smh", REG_SZ, "Viewer.Document", 15);
    RegSetValueA(HKEY_CLASSES_ROOT, "Viewer.Document\\shell\\open\\command", REG_SZ, "viewer.exe", 10);
    HKEY uninstall = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kUninstallKey, &uninstall), ERROR_SUCCESS);
    RegSetValueExA(uninstall, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>("LUMENPOST"), 10);
    RegCloseKey(uninstall);
    WriteFileBytes(install + "ADDR.CSV", "王,010-1234\r\n");
    WriteFileBytes(install + "LOG\\RECEIVE.CSV", "receive\r\n");
    WriteFileBytes(install + "LOG\\SEND.CSV", "send\r\n");
    WriteFileBytes(install + "LOG\\SEND.BAK", "old");
    WriteFileBytes(install + "TRAY\\R20240105093000.smh", "fax");
    CreateFolderPath(install + "TEMP\\PAGES");
    WriteFileBytes(install + "TEMP\\PAGES\\P1.TMP", "page");
    SetFileAttributesA((install + "MIROLO.GID").c_str(), FILE_ATTRIBUTE_READONLY);
    // The fax printer as Setup has the printer-folder library add it.
    CDeviceIniScope deviceIni;
    deviceIni.WriteTempPath(install + "TEMP");
    HMODULE printerFolder = LoadLibraryA(BuiltProgram("Prnfold.dll").c_str());
    ASSERT_NE(printerFolder, nullptr);
    const auto entry = reinterpret_cast<BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD)>(
        reinterpret_cast<void*>(GetProcAddress(printerFolder, "PrinterFoldarEntry")));
    ASSERT_TRUE(entry && entry(nullptr, kPrinter, (vars.system + "\\KDMFX.DRV").c_str(), 0));
    FreeLibrary(printerFolder);
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(kPrinter), &printer, nullptr));
    ClosePrinter(printer);

    {
        CRunningProgram remover = StartRemover();
        ASSERT_TRUE(remover.Process());
        HWND question = NextBox(remover);
        ASSERT_NE(question, nullptr) << Showing(remover.Id());
        EXPECT_EQ(BoxText(question), "要删除LUMENPOST及其所有组件吗？");
        Press(question, IDNO);
        ASSERT_TRUE(remover.Ended(20000));
        EXPECT_EQ(remover.ExitCode(), 1u);
    }
    for (const setup::UninstallRecord& record : records) {
        if (record.type == setup::kUninstallFile || record.type == setup::kUninstallFolder) {
            EXPECT_TRUE(FileExists(record.path)) << record.path;
        }
    }
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, ".smh"));
    // The spooler wrote the printer's own entry over Setup's when the printer was added.
    EXPECT_NE(IniValue(winIni, "Devices", kPrinter), "(none)");

    CRunningProgram remover = StartRemover();
    HWND question = NextBox(remover);
    ASSERT_NE(question, nullptr) << Showing(remover.Id());
    Press(question, IDYES);
    HWND report = NextBox(remover, question);
    ASSERT_NE(report, nullptr) << Showing(remover.Id());
    const std::string text = BoxText(report);
    Press(report, IDOK);
    ASSERT_TRUE(remover.Ended(20000));
    EXPECT_EQ(remover.ExitCode(), 0u) << text;

    EXPECT_EQ(text.rfind("卸载完毕。", 0), 0u) << text;
    EXPECT_TRUE(HasLine(text, InstalledRemover())) << "running, it goes at the restart: " << text;
    EXPECT_TRUE(HasLine(text, vars.install)) << "the address book keeps the install folder: " << text;
    EXPECT_TRUE(HasLine(text, install + "LOG")) << text;
    EXPECT_TRUE(HasLine(text, install + "TRAY")) << text;
    EXPECT_EQ(m_pending.Added(), std::vector<std::string>{InstalledRemover()})
        << "the install folder keeps the address book, so only the program waits for the restart";

    for (const setup::UninstallRecord& record : records) {
        if (record.type == setup::kUninstallFile && record.path != InstalledRemover()) {
            EXPECT_FALSE(FileExists(record.path)) << record.path;
        }
    }
    EXPECT_EQ(FilesMatching(install, "*"), (std::vector<std::string>{"ADDR.CSV", "REMOVER.EXE"}));
    EXPECT_EQ(FilesMatching(install + "LOG", "*"), (std::vector<std::string>{"RECEIVE.CSV", "SEND.CSV"}));
    EXPECT_EQ(FilesMatching(install + "TRAY", "*"), std::vector<std::string>{"R20240105093000.smh"});
    EXPECT_FALSE(FileExists(install + "TEMP"));
    EXPECT_FALSE(FileExists(vars.windows + "\\Twain_32\\ORVEX"));
    EXPECT_FALSE(FileExists(setup::GroupFolder(vars)));
    EXPECT_EQ(IniValue(winIni, "Devices", kPrinter), "(none)");
    EXPECT_EQ(IniValue(winIni, "PrinterPorts", kPrinter), "(none)");
    EXPECT_EQ(IniValue(winIni, "LUMENPOST Fax", "WindowsVersion"), "(none)");
    EXPECT_EQ(IniValue("win.ini", "LUMENPOST Fax", "WindowsVersion"), "(none)") << "the WIN.INI section";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".smh"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Viewer.Document"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(OpenPrinterA(const_cast<char*>(kPrinter), &printer, nullptr)) << "the printer goes with its entry";
}

TEST_F(RemoverTest, WhatIsInUseGoesAtTheRestartAndABadRecordIsReported) {
    const std::string install = Folders().install;
    const std::string held = m_root.Path() + "OTHER\\HELD.DAT";
    const std::string cache = m_root.Path() + "OTHER\\CACHE";
    const std::vector<setup::UninstallRecord> records = {
        {setup::kUninstallFile, InstalledRemover(), {}, 0, {}},
        {setup::kUninstallFile, held, {}, 0, {}},
        {setup::kUninstallFile, install + "\\GONE.DLL", {}, 0, {}},
        {setup::kUninstallFolder, cache, {}, 0, {}},
        {setup::kUninstallRegistryKey, "Software\\Orvex", {}, 0x80000005u, {}},
        {setup::kUninstallRegistryKey, kProductKey, {}, setup::kCurrentUser, {}},
    };
    LayOut(records);
    CreateFolderPath(cache + "\\SUB");
    WriteFileBytes(cache + "\\SUB\\A.TMP", "a");
    WriteFileBytes(held, "held");
    StoreRecords(records);
    HANDLE open = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    CRunningProgram remover = StartRemover();
    HWND question = NextBox(remover);
    ASSERT_NE(question, nullptr) << Showing(remover.Id());
    Press(question, IDYES);
    HWND report = NextBox(remover, question);
    ASSERT_NE(report, nullptr) << Showing(remover.Id());
    const std::string text = BoxText(report);
    Press(report, IDOK);
    ASSERT_TRUE(remover.Ended(20000));
    CloseHandle(open);

    EXPECT_EQ(remover.ExitCode(), 2u) << text;
    EXPECT_EQ(text.rfind("卸载未能全部完成", 0), 0u) << text;
    EXPECT_TRUE(Contains(text, "第 5 条卸载记录无效")) << text;
    EXPECT_TRUE(HasLine(text, held)) << text;
    EXPECT_FALSE(Contains(text, "GONE.DLL")) << "what is not there any more is not reported";
    // Pending deletions run in order: the program before its folder, which nothing else holds.
    EXPECT_EQ(m_pending.Added(), (std::vector<std::string>{InstalledRemover(), held, install}));
    EXPECT_TRUE(HasLine(text, install)) << text;
    EXPECT_FALSE(FileExists(cache));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
}

TEST_F(RemoverTest, WithoutUsableDataItSaysWhyAndRemovesNothing) {
    const std::string kept = m_root.Path() + "KEPT.DLL";
    const std::vector<setup::UninstallRecord> records = {
        {setup::kUninstallFile, InstalledRemover(), {}, 0, {}},
        {setup::kUninstallFile, kept, {}, 0, {}},
    };
    LayOut(records);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvex");
    const auto values = setup::EncodeUninstallValues(records);
    ASSERT_TRUE(values);
    std::vector<uint8_t> claimsMore = values->info;
    claimsMore[0] = 3;

    struct Case {
        const char* what;
        std::vector<uint8_t> info, data;
        const char* arguments;
        const char* message;
    };
    const Case cases[] = {
        {"no uninstall data", {}, {}, "/R", "找不到卸载信息，LUMENPOST可能已经卸载。"},
        {"a count beyond the data", claimsMore, values->data, "/R",
         "卸载信息不完整：记录数超出了卸载数据。未删除任何内容。"},
        {"a count cut off", {2}, values->data, "/R", "卸载信息已损坏，未删除任何内容。"},
        {"an unknown switch", values->info, values->data, "/X", "不认识的参数：/X\n用法：REMOVER.EXE /R"},
    };
    for (const Case& c : cases) {
        if (!c.info.empty()) {
            SetBinary("UnInstall Info", c.info);
            SetBinary("UnInstall Data", c.data);
        }
        CRunningProgram remover = StartRemover(c.arguments);
        HWND box = NextBox(remover);
        ASSERT_NE(box, nullptr) << c.what << Showing(remover.Id());
        EXPECT_EQ(BoxText(box), c.message) << c.what;
        Press(box, IDOK);
        ASSERT_TRUE(remover.Ended(20000)) << c.what;
        EXPECT_EQ(remover.ExitCode(), 3u) << c.what;
        EXPECT_TRUE(FileExists(kept)) << c.what;
    }
    EXPECT_TRUE(m_pending.Added().empty());
}
