#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "companions/twain/manager/SourceManager.h"
#include "companions/twain/manager/resource.h"
#include "companions/twain/manager/tests/TestSource.h"
#include "framework/testing/TempFolder.h"

// TWAIN_32.DLL as the Viewer meets it: installed in the Windows folder and loaded from there, with two copies of
// the test source in a maker's folder and a subfolder of it, beside whatever sources the prefix has already.
namespace {
std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

const std::string kManagerPath = WindowsFolder() + "\\TWAIN_32.DLL";
const std::string kMakerFolder = WindowsFolder() + "\\twain_32\\mirolo-test";
const std::string kSourceA = kMakerFolder + "\\TESTA.DS";
const std::string kSourceB = kMakerFolder + "\\deeper\\TESTB.ds";
const std::string kBroken = kMakerFolder + "\\BROKEN.DS";
const std::string kNameA = std::string(kTestSourcePrefix) + "TESTA";
const std::string kNameB = std::string(kTestSourcePrefix) + "TESTB";

std::string DefaultSource() {
    char path[MAX_PATH] = {};
    GetProfileStringA("TWAIN", "Default Source", "", path, sizeof path);
    return path;
}

class TwainManagerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, sizeof exe);
        const std::string bin = FolderOf(exe);
        s_managerWasThere = GetFileAttributesA(kManagerPath.c_str()) != INVALID_FILE_ATTRIBUTES;
        ASSERT_TRUE(CopyFileA((bin + "\\TWAIN_32.DLL").c_str(), kManagerPath.c_str(), FALSE));
        CreateDirectoryA(FolderOf(kMakerFolder).c_str(), nullptr);
        CreateDirectoryA(kMakerFolder.c_str(), nullptr);
        CreateDirectoryA(FolderOf(kSourceB).c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((bin + "\\TESTSRC.DS").c_str(), kSourceA.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((bin + "\\TESTSRC.DS").c_str(), kSourceB.c_str(), FALSE));
        WriteFileBytes(kBroken, "not a library");
    }

    static void TearDownTestSuite() {
        DeleteFileA(kSourceA.c_str());
        DeleteFileA(kSourceB.c_str());
        DeleteFileA(kBroken.c_str());
        RemoveDirectoryA(FolderOf(kSourceB).c_str());
        RemoveDirectoryA(kMakerFolder.c_str());
        if (!s_managerWasThere)
            DeleteFileA(kManagerPath.c_str());
    }

    void SetUp() override {
        m_savedDefault = DefaultSource();
        m_window = CreateWindowExA(0, "STATIC", "manager tests", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   nullptr, nullptr);
        LoadManager();
    }

    void TearDown() override {
        UnloadManager();
        DestroyWindow(m_window);
        WriteProfileStringA("TWAIN", "Default Source", m_savedDefault.empty() ? nullptr : m_savedDefault.c_str());
    }

    void LoadManager() {
        m_manager = LoadLibraryA(kManagerPath.c_str());
        ASSERT_NE(m_manager, nullptr);
        // Wine puts its own twain_32 in place of the file, under the file's name, unless told not to.
        ASSERT_NE(FindResourceA(m_manager, MAKEINTRESOURCEA(IDD_SELECT_SOURCE), RT_DIALOG), nullptr)
            << "Wine's built-in twain_32 was loaded: WINEDLLOVERRIDES needs twain_32=n";
        m_entry = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(GetProcAddress(m_manager, "DSM_Entry")));
        ASSERT_NE(m_entry, nullptr);
        m_app = {};
        std::strcpy(m_app.ProductName, "manager tests");
    }

    void UnloadManager() {
        if (m_manager)
            FreeLibrary(m_manager);
        m_manager = nullptr;
    }

    TW_UINT16 Call(TW_IDENTITY* dest, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
        return m_entry(&m_app, dest, group, type, message, data);
    }
    TW_UINT16 Manager(TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
        return Call(nullptr, DG_CONTROL, type, message, data);
    }
    TW_UINT16 Condition() {
        TW_STATUS status{};
        EXPECT_EQ(Manager(DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
        return status.ConditionCode;
    }
    void OpenManager() {
        HWND window = m_window;
        ASSERT_EQ(Manager(DAT_PARENT, MSG_OPENDSM, &window), TWRC_SUCCESS);
        ASSERT_NE(m_app.Id, 0u);
    }

    std::vector<TW_IDENTITY> ListSources() {
        std::vector<TW_IDENTITY> sources;
        TW_IDENTITY source{};
        for (TW_UINT16 rc = Manager(DAT_IDENTITY, MSG_GETFIRST, &source); rc == TWRC_SUCCESS;
             rc = Manager(DAT_IDENTITY, MSG_GETNEXT, &source))
            sources.push_back(source);
        return sources;
    }

    template <typename Proc>
    Proc SourceExport(const std::string& path, const char* name) {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(path.c_str()), name)));
    }

    static inline bool s_managerWasThere = false;
    std::string m_savedDefault;
    HWND m_window = nullptr;
    HMODULE m_manager = nullptr;
    DSMENTRYPROC m_entry = nullptr;
    TW_IDENTITY m_app{};
};

TEST_F(TwainManagerTest, FindsSourcesUnderTheWindowsFolderAndPicksTheDefault) {
    OpenManager();
    const std::vector<TW_IDENTITY> sources = ListSources();
    TW_IDENTITY source{};
    EXPECT_EQ(Manager(DAT_IDENTITY, MSG_GETNEXT, &source), TWRC_ENDOFLIST);
    int a = -1, b = -1;
    for (size_t i = 0; i < sources.size(); ++i) {
        EXPECT_NE(sources[i].Id, 0u);
        EXPECT_NE(sources[i].Id, m_app.Id);
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(sources[i].Id, sources[j].Id);
        if (sources[i].ProductName == kNameA)
            a = static_cast<int>(i);
        if (sources[i].ProductName == kNameB)
            b = static_cast<int>(i);
    }
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ(ListSources()[b].Id, sources[b].Id) << "an Id stays with its source";

    WriteProfileStringA("TWAIN", "Default Source", kSourceB.c_str());
    ASSERT_EQ(Manager(DAT_IDENTITY, MSG_GETDEFAULT, &source), TWRC_SUCCESS);
    EXPECT_STREQ(source.ProductName, kNameB.c_str());
    EXPECT_EQ(source.Id, sources[b].Id);

    WriteProfileStringA("TWAIN", "Default Source", (kMakerFolder + "\\GONE.DS").c_str());
    ASSERT_EQ(Manager(DAT_IDENTITY, MSG_GETDEFAULT, &source), TWRC_SUCCESS);
    EXPECT_STREQ(source.ProductName, sources[0].ProductName);
}

TEST_F(TwainManagerTest, OpensTheDefaultAndRoutesBetweenApplicationAndSource) {
    OpenManager();
    WriteProfileStringA("TWAIN", "Default Source", kSourceA.c_str());
    TW_IDENTITY source{};
    ASSERT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_SUCCESS);
    EXPECT_STREQ(source.ProductName, kNameA.c_str());
    EXPECT_STREQ(source.Manufacturer, "Mirolo");
    EXPECT_NE(source.Id, 0u);
    TW_IDENTITY second{};
    std::strcpy(second.ProductName, kNameB.c_str());
    EXPECT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &second), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
    HWND window = m_window;
    EXPECT_EQ(Manager(DAT_PARENT, MSG_CLOSEDSM, &window), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
    EXPECT_EQ(Condition(), TWCC_SUCCESS) << "reading the status resets it";

    auto lastCall = SourceExport<TestSourceLastCallProc>(kSourceA, "TestSource_LastCall");
    auto notify = SourceExport<TestSourceNotifyProc>(kSourceA, "TestSource_Notify");
    ASSERT_TRUE(lastCall && notify);
    TW_USERINTERFACE ui{};
    EXPECT_EQ(Call(&source, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    const TestSourceCall routed = *lastCall();
    EXPECT_EQ(routed.originId, m_app.Id);
    EXPECT_EQ(routed.type, DAT_USERINTERFACE);
    EXPECT_EQ(routed.message, MSG_ENABLEDS);
    EXPECT_EQ(routed.data, &ui);

    // The source's DAT_NULL comes back out of the application's queue through MSG_PROCESSEVENT, unseen by it.
    const UINT notification = RegisterWindowMessageA(kSourceNotificationMessage);
    for (TW_UINT16 message : {MSG_XFERREADY, MSG_CLOSEDSREQ}) {
        ASSERT_EQ(notify(message), TWRC_SUCCESS);
        MSG msg{};
        ASSERT_TRUE(PeekMessageA(&msg, m_window, notification, notification, PM_REMOVE));
        EXPECT_EQ(msg.lParam, static_cast<LPARAM>(source.Id));
        const int calls = lastCall()->count;
        TW_EVENT event{&msg, MSG_NULL};
        EXPECT_EQ(Call(&source, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
        EXPECT_EQ(event.TWMessage, message);
        EXPECT_EQ(lastCall()->count, calls);
    }
    MSG mouse{m_window, WM_MOUSEMOVE, 0, 0, 0, {}};
    TW_EVENT event{&mouse, MSG_XFERREADY};
    EXPECT_EQ(Call(&source, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_NULL);
    EXPECT_EQ(lastCall()->data, &event);

    EXPECT_EQ(Call(&source, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source), TWRC_SUCCESS);
    EXPECT_EQ(GetModuleHandleA(kSourceA.c_str()), nullptr);

    // A source that refuses to open is let go, and its reason is the manager's status.
    SetEnvironmentVariableA(kRefuseOpenVariable, "5");
    source = {};
    EXPECT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_FAILURE);
    SetEnvironmentVariableA(kRefuseOpenVariable, nullptr);
    EXPECT_EQ(Condition(), TWCC_OPERATIONERROR);
    EXPECT_EQ(GetModuleHandleA(kSourceA.c_str()), nullptr);

    // By name; unloading the manager lets an open source go.
    ASSERT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &second), TWRC_SUCCESS);
    EXPECT_STREQ(second.ProductName, kNameB.c_str());
    EXPECT_NE(GetModuleHandleA(kSourceB.c_str()), nullptr);
    UnloadManager();
    EXPECT_EQ(GetModuleHandleA(kSourceB.c_str()), nullptr);
}

TEST_F(TwainManagerTest, RefusesBadRequestsWithoutCrashing) {
    TW_IDENTITY source{};
    EXPECT_EQ(Manager(DAT_IDENTITY, MSG_GETFIRST, &source), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
    EXPECT_EQ(m_entry(nullptr, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &source), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADVALUE);
    EXPECT_EQ(Manager(DAT_PARENT, MSG_OPENDSM, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADVALUE);
    EXPECT_EQ(Manager(DAT_STATUS, MSG_GET, nullptr), TWRC_FAILURE);

    OpenManager();
    HWND window = m_window;
    EXPECT_EQ(Manager(DAT_PARENT, MSG_OPENDSM, &window), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
    for (TW_UINT16 message : {MSG_GETFIRST, MSG_GETDEFAULT, MSG_USERSELECT, MSG_OPENDS, MSG_CLOSEDS}) {
        EXPECT_EQ(Manager(DAT_IDENTITY, message, nullptr), TWRC_FAILURE) << message;
        EXPECT_EQ(Condition(), TWCC_BADVALUE) << message;
    }
    EXPECT_EQ(Manager(DAT_CAPABILITY, MSG_GET, &source), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADPROTOCOL);
    std::strcpy(source.ProductName, "无此来源");
    EXPECT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_NODS);
    source.Id = 0x7fff;
    EXPECT_EQ(Call(&source, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADDEST);
    EXPECT_EQ(m_entry(&source, &source, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADDEST);

    source = {};
    ASSERT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_SUCCESS);
    TW_EVENT empty{nullptr, MSG_NULL};
    EXPECT_EQ(Call(&source, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &empty), TWRC_FAILURE);
    EXPECT_EQ(Call(&source, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADVALUE);
    // Closing through the manager, as the standard's applications do.
    EXPECT_EQ(Manager(DAT_IDENTITY, MSG_CLOSEDS, &source), TWRC_SUCCESS);
    EXPECT_EQ(Manager(DAT_PARENT, MSG_CLOSEDSM, &window), TWRC_SUCCESS);
    EXPECT_EQ(Manager(DAT_IDENTITY, MSG_GETDEFAULT, &source), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
}

// What the chooser test does once the dialog is up: note what it shows, then act as the user.
struct ChooserScript {
    enum Action { kSelectButton, kDoubleClick, kCancel } action;
    std::string pick;
    std::string shownSelected;
    HWND owner = nullptr;
    int ticks = 0;
    bool done = false;
};
ChooserScript* g_script = nullptr;

void CALLBACK ChooserTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA("#32770", "选择来源");
    if (!dialog || g_script->done) {
        // A dialog the script failed to end is closed, so that the test fails instead of hanging.
        if (dialog && ++g_script->ticks > 100)
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        return;
    }
    g_script->done = true;
    g_script->owner = GetWindow(dialog, GW_OWNER);
    HWND list = GetDlgItem(dialog, IDC_SOURCE_LIST);
    char text[64] = {};
    SendMessageA(list, LB_GETTEXT, SendMessageA(list, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
    g_script->shownSelected = text;
    const auto row = SendMessageA(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(g_script->pick.c_str()));
    SendMessageA(list, LB_SETCURSEL, row, 0);
    switch (g_script->action) {
    case ChooserScript::kSelectButton:
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        break;
    case ChooserScript::kDoubleClick:
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SOURCE_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        break;
    case ChooserScript::kCancel:
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        break;
    }
}

TEST_F(TwainManagerTest, ChooserSetsTheDefaultThatOutlivesTheManager) {
    OpenManager();
    WriteProfileStringA("TWAIN", "Default Source", kSourceA.c_str());
    auto choose = [this](ChooserScript::Action action, const std::string& pick, TW_IDENTITY& chosen) {
        ChooserScript script{action, pick, {}};
        g_script = &script;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ChooserTimer);
        const TW_UINT16 rc = Manager(DAT_IDENTITY, MSG_USERSELECT, &chosen);
        KillTimer(nullptr, timer);
        g_script = nullptr;
        EXPECT_EQ(script.owner, m_window);
        return std::make_pair(rc, script.shownSelected);
    };

    TW_IDENTITY chosen{};
    EXPECT_EQ(choose(ChooserScript::kSelectButton, kNameB, chosen), std::make_pair(TWRC_SUCCESS, kNameA));
    EXPECT_STREQ(chosen.ProductName, kNameB.c_str());
    EXPECT_TRUE(lstrcmpiA(DefaultSource().c_str(), kSourceB.c_str()) == 0) << DefaultSource();

    chosen = {};
    EXPECT_EQ(choose(ChooserScript::kCancel, kNameA, chosen), std::make_pair(TWRC_CANCEL, kNameB));
    EXPECT_EQ(chosen.ProductName[0], '\0');
    EXPECT_TRUE(lstrcmpiA(DefaultSource().c_str(), kSourceB.c_str()) == 0) << DefaultSource();

    EXPECT_EQ(choose(ChooserScript::kDoubleClick, kNameA, chosen), std::make_pair(TWRC_SUCCESS, kNameB));
    EXPECT_STREQ(chosen.ProductName, kNameA.c_str());

    HWND window = m_window;
    ASSERT_EQ(Manager(DAT_PARENT, MSG_CLOSEDSM, &window), TWRC_SUCCESS);
    UnloadManager();
    LoadManager();
    OpenManager();
    TW_IDENTITY source{};
    ASSERT_EQ(Manager(DAT_IDENTITY, MSG_GETDEFAULT, &source), TWRC_SUCCESS);
    EXPECT_STREQ(source.ProductName, kNameA.c_str());
}
}  // namespace
