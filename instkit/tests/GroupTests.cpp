#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/testing/TempFolder.h"
#include "instkit/tests/InstkitDll.h"

// Program groups in the Programs folder, and the shortcuts saved into the group the last call named.
namespace {
std::string ProgramsFolder() {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE);
    return path;
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct LinkRead {
    std::string target;
    std::string description;
};

LinkRead ReadLink(const std::string& file) {
    LinkRead read;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return read;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = {};
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
                read.target = text;
            if (SUCCEEDED(link->GetDescription(text, MAX_PATH)))
                read.description = text;
        }
        persist->Release();
    }
    link->Release();
    return read;
}

class ProgramGroupTest : public testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override {
        Instkit().DeleteGroup32(nullptr, "Instkit 测试组");
        Instkit().DeleteGroup32(nullptr, "Instkit Other");
        CoUninitialize();
    }
    const std::string group = ProgramsFolder() + "\\Instkit 测试组";
    const std::string other = ProgramsFolder() + "\\Instkit Other";
};
}  // namespace

TEST_F(ProgramGroupTest, ShortcutsGoIntoTheGroupUnderTheirDescription) {
    EXPECT_EQ(Instkit().CreateGroup32("Instkit 测试组"), 1u);
    ASSERT_TRUE(FolderExists(group));
    EXPECT_EQ(Instkit().CreateGroup32("Instkit 测试组"), 1u);  // an existing group is no error

    const std::string target = "C:\\Program Files\\Mirolo\\Viewer.exe";
    EXPECT_EQ(Instkit().AddItem32(target.c_str(), "传真浏览器"), S_OK);
    const LinkRead link = ReadLink(group + "\\传真浏览器.lnk");
    EXPECT_EQ(link.target, target);
    EXPECT_EQ(link.description, "传真浏览器");
}

TEST_F(ProgramGroupTest, TheLastNamedGroupTakesTheNextShortcut) {
    Instkit().CreateGroup32("Instkit 测试组");
    Instkit().CreateGroup32("Instkit Other");
    EXPECT_EQ(Instkit().AddItem32("C:\\a.exe", "A"), S_OK);
    EXPECT_TRUE(FileExists(other + "\\A.lnk"));
    EXPECT_FALSE(FileExists(group + "\\A.lnk"));

    // Deleting names the group too: it is gone, so the shortcut has nowhere to go.
    EXPECT_TRUE(Instkit().DeleteGroup32(nullptr, "Instkit Other"));
    EXPECT_LT(Instkit().AddItem32("C:\\b.exe", "B"), 0);
    EXPECT_FALSE(FolderExists(other));
}

TEST_F(ProgramGroupTest, DeletingAGroupTakesItsSubfoldersWithoutAsking) {
    Instkit().CreateGroup32("Instkit 测试组");
    Instkit().AddItem32("C:\\a.exe", "A");
    ASSERT_TRUE(CreateDirectoryA((group + "\\说明").c_str(), nullptr));
    WriteFileBytes(group + "\\说明\\readme.txt", "text");
    WriteFileBytes(group + "\\.hidden", "x");

    EXPECT_TRUE(Instkit().DeleteGroup32(nullptr, "Instkit 测试组"));
    EXPECT_FALSE(FolderExists(group));
    EXPECT_FALSE(Instkit().DeleteGroup32(nullptr, "Instkit 测试组"));
}

TEST_F(ProgramGroupTest, ANameOutsideTheProgramsFolderIsRefused) {
    const std::string marker = ProgramsFolder() + "\\instkit-marker.txt";
    WriteFileBytes(marker, "keep");
    for (const char* name : {"", "..", "Instkit 测试组\\..", "C:\\Windows"}) {
        EXPECT_EQ(Instkit().CreateGroup32(name), 1u);
        EXPECT_EQ(Instkit().AddItem32("C:\\a.exe", "A"), E_INVALIDARG) << name;
        EXPECT_FALSE(Instkit().DeleteGroup32(nullptr, name)) << name;
    }
    EXPECT_EQ(ReadFileBytes(marker), "keep");
    DeleteFileA(marker.c_str());
}
