#include "launcher/tests/LauncherTestSupport.h"

#include <commdlg.h>

#include <fstream>

#include "framework/testing/Scripted.h"

namespace {
std::string CurrentDirectory() {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    return cwd;
}

std::string WindowsRoot() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows, 2) + "\\";
}

class MenuStartTest : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        std::ofstream(m_settings.LogFolder() + "receive.csv") << "";
        std::ofstream(m_settings.LogFolder() + "send.csv") << "";
        SetCurrentDirectoryA(m_settings.TempFolder().c_str());
    }

    const ShellCall& OnlyCall() const {
        EXPECT_EQ(m_shell.Calls().size(), 1u);
        static ShellCall none{};
        return m_shell.Calls().empty() ? none : m_shell.Calls().back();
    }

    CRecordingShell m_shell;
    CScopedSeam<IShell> m_seam{m_shell};
};

bool SameFolder(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}
}  // namespace

TEST_F(MenuStartTest, LogButtonsPassTheShortFormOfTheLogPath) {
    const std::pair<int, const char*> buttons[] = {{IDC_VIEWFAX, "receive.csv"}, {IDC_LOGBOOK, "send.csv"}};
    for (auto [id, log] : buttons) {
        CRecordingShell shell;
        CScopedSeam<IShell> seam(shell);
        Click(id);
        ASSERT_EQ(shell.Calls().size(), 1u);
        const ShellCall& call = shell.Calls()[0];
        EXPECT_EQ(call.file, m_settings.ProgramFolder() + "Logbook.exe");
        ASSERT_TRUE(call.hadParameters);
        EXPECT_EQ(call.parameters.find(' '), std::string::npos) << call.parameters;
        char longPath[MAX_PATH] = {};
        GetLongPathNameA(call.parameters.c_str(), longPath, sizeof longPath);
        EXPECT_TRUE(SameFolder(longPath, m_settings.LogFolder() + log)) << longPath;
        EXPECT_EQ(call.owner, Menu());
        EXPECT_FALSE(call.hadDirectory);
        EXPECT_EQ(call.show, SW_SHOW);
        EXPECT_TRUE(SameFolder(call.currentDirectory, WindowsRoot())) << call.currentDirectory;
    }
}

TEST_F(MenuStartTest, ALogThatDoesNotExistYetIsPassedWholeInQuotes) {
    DeleteFileA((m_settings.LogFolder() + "send.csv").c_str());
    Click(IDC_LOGBOOK);
    EXPECT_EQ(OnlyCall().parameters, "\"" + m_settings.LogFolder() + "send.csv\"");
}

TEST_F(MenuStartTest, ProgramButtonsStartFromTheProgramFolderWithoutArguments) {
    const std::pair<int, const char*> buttons[] = {{IDC_PHONEBOOK, "Contacts.exe"}, {IDC_SCANER, "Viewer.exe"}};
    for (auto [id, exe] : buttons) {
        CRecordingShell shell;
        CScopedSeam<IShell> seam(shell);
        SetCurrentDirectoryA(m_settings.TempFolder().c_str());
        Click(id);
        ASSERT_EQ(shell.Calls().size(), 1u);
        EXPECT_EQ(shell.Calls()[0].file, m_settings.ProgramFolder() + exe);
        EXPECT_FALSE(shell.Calls()[0].hadParameters);
        EXPECT_TRUE(SameFolder(shell.Calls()[0].currentDirectory, WindowsRoot()));
    }
}

TEST_F(MenuStartTest, AutomaticReceiveLeavesTheCurrentDirectoryAlone) {
    std::string before = CurrentDirectory();
    Click(IDC_AUTORECV);
    EXPECT_EQ(OnlyCall().file, m_settings.ProgramFolder() + "Watcher.exe");
    EXPECT_FALSE(OnlyCall().hadParameters);
    EXPECT_EQ(OnlyCall().currentDirectory, before);
    EXPECT_FALSE(SameFolder(before, WindowsRoot()));
}

TEST_F(MenuStartTest, EachPressStartsAnotherCopy) {
    Click(IDC_PHONEBOOK);
    Click(IDC_PHONEBOOK);
    EXPECT_EQ(m_shell.Calls().size(), 2u);
}

TEST_F(MenuStartTest, DocumentOpenAsksForAFileAndOpensItInItsApplication) {
    CScriptedCommonDialogs dialogs;
    CScopedSeam<ICommonDialogs> seam(dialogs);
    dialogs.ChooseFile("C:\\文档\\报价单.doc");
    Click(IDC_FAXPRINT);
    ASSERT_EQ(dialogs.OpenCalls().size(), 1u);
    const auto& open = dialogs.OpenCalls()[0];
    EXPECT_EQ(open.owner, Menu());
    EXPECT_EQ(open.filter, "Doc Files (*.doc)|*.doc|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(open.initialDir, WindowsRoot().substr(0, 2));
    EXPECT_EQ(open.flags, DWORD(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NONETWORKBUTTON));
    EXPECT_FALSE(open.hadDefaultExtension);
    EXPECT_FALSE(open.hadInitialFile);
    EXPECT_EQ(OnlyCall().file, "C:\\文档\\报价单.doc");
    EXPECT_FALSE(OnlyCall().hadParameters);
    EXPECT_EQ(OnlyCall().show, SW_SHOW);
    EXPECT_TRUE(SameFolder(OnlyCall().currentDirectory, WindowsRoot()));
}

TEST_F(MenuStartTest, CancellingTheDocumentDialogStartsNothing) {
    CScriptedCommonDialogs dialogs;
    CScopedSeam<ICommonDialogs> seam(dialogs);
    Click(IDC_FAXPRINT);
    EXPECT_EQ(dialogs.OpenCalls().size(), 1u);
    EXPECT_TRUE(m_shell.Calls().empty());
}

TEST(LauncherSettings, AMissingFolderStopsWithTheLaunchersMessageTitledWithItsName) {
    CInstalledSettings settings("C:\\LUMENPOST");
    CInstalledSettings::Write("RECVFLD_DIR", "");
    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    CLauncherApp app;
    app.SetAppName("Launcher");
    EXPECT_FALSE(app.LoadSuiteSettings(IDS_REG_ERROR));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "注册错误");
    EXPECT_EQ(boxes.Calls()[0].caption, "Launcher");
    EXPECT_TRUE(app.LogFolder().empty());
}
