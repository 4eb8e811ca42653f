#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "viewer/TwainClient.h"

// The client against a scripted manager: an entry point in this process that notes every call and answers from
// the test's script, in place of TWAIN_32.DLL and a scanner's source.
namespace {
struct Call {
    bool toSource;
    TW_UINT32 group;
    TW_UINT16 type;
    TW_UINT16 message;
    bool operator==(const Call&) const = default;
};

constexpr Call Manager(TW_UINT16 type, TW_UINT16 message) {
    return {false, DG_CONTROL, type, message};
}
constexpr Call Source(TW_UINT16 type, TW_UINT16 message, TW_UINT32 group = DG_CONTROL) {
    return {true, group, type, message};
}

class CScriptedManager {
public:
    CScriptedManager() {
        s_current = this;
        link.load = [](HMODULE& module) {
            module = reinterpret_cast<HMODULE>(1);
            return &CScriptedManager::Entry;
        };
        link.unload = [this](HMODULE) { ++unloads; };
    }
    ~CScriptedManager() { s_current = nullptr; }

    // Answers a call; success unless the test says otherwise.
    std::function<TW_UINT16(const Call&, TW_MEMREF)> answer = [](const Call&, TW_MEMREF) { return TWRC_SUCCESS; };
    std::vector<Call> calls;
    int unloads = 0;
    TwainManagerLink link;

private:
    static TW_UINT16 WINAPI
    Entry(TW_IDENTITY*, TW_IDENTITY* dest, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
        const Call call{dest != nullptr, group, type, message};
        s_current->calls.push_back(call);
        return s_current->answer(call, data);
    }
    static inline CScriptedManager* s_current = nullptr;
};

// The client as the Viewer's is: it keeps what it receives and the errors it reports.
class CRecordingClient : public CTwainClient {
public:
    using CTwainClient::CTwainClient;
    std::vector<HGLOBAL> images;
    std::vector<int> errors;
    std::vector<int> states;
    bool closeOnImage = false;

protected:
    void ImageReceived(HGLOBAL image) override {
        images.push_back(image);
        if (closeOnImage)
            CloseSource();
    }
    void Error(int code) override { errors.push_back(code); }
    void StateChanged(int state) override { states.push_back(state); }
};

// A source that, once enabled, has `images` ready: its queued notification is a MSG the client offers it.
struct ScannerScript {
    explicit ScannerScript(int images, std::deque<TW_UINT16> results = {})
        : pending(images), getResults(std::move(results)) {}

    int pending;
    std::deque<TW_UINT16> getResults;  // what each MSG_GET answers; XFERDONE once they are used up
    TW_UINT16 notification = MSG_NULL;

    TW_UINT16 operator()(const Call& call, TW_MEMREF data) {
        if (call.type == DAT_EVENT) {
            static_cast<TW_EVENT*>(data)->TWMessage = notification;
            notification = MSG_NULL;
            return TWRC_DSEVENT;
        }
        if (call.type == DAT_IMAGENATIVEXFER) {
            const TW_UINT16 result = getResults.empty() ? TWRC_XFERDONE : getResults.front();
            if (!getResults.empty())
                getResults.pop_front();
            if (result == TWRC_XFERDONE)
                *static_cast<TW_HANDLE*>(data) = GlobalAlloc(GMEM_MOVEABLE, 16);
            return result;
        }
        if (call.type == DAT_PENDINGXFERS && call.message == MSG_ENDXFER) {
            static_cast<TW_PENDINGXFERS*>(data)->Count = static_cast<TW_UINT16>(--pending);
            return TWRC_SUCCESS;
        }
        if (call.type == DAT_PENDINGXFERS && call.message == MSG_RESET) {
            pending = 0;
            static_cast<TW_PENDINGXFERS*>(data)->Count = 0;
        }
        return TWRC_SUCCESS;
    }
};

class TwainClientTest : public testing::Test {
protected:
    // Opened and enabled, the source's notification waiting: one message offered to it.
    void ScanWith(ScannerScript& script, TW_UINT16 notification) {
        ASSERT_TRUE(m_client.Acquire(m_window));
        script.notification = notification;
        m_manager.answer = std::ref(script);
        MSG msg{m_window, WM_USER, 0, 0, 0, {}};
        EXPECT_TRUE(m_client.ProcessMessage(msg));
    }
    void TearDown() override {
        for (HGLOBAL image : m_client.images)
            GlobalFree(image);
    }

    HWND m_window = reinterpret_cast<HWND>(0x1234);
    CScriptedManager m_manager;
    CRecordingClient m_client{m_manager.link};
};
}  // namespace

TEST_F(TwainClientTest, EachCallMovesTheStateAsTheStandardsTableSays) {
    EXPECT_EQ(m_client.State(), 1);
    ASSERT_TRUE(m_client.IsAvailable());
    EXPECT_EQ(m_client.State(), 2) << "a successful probe leaves the manager loaded";
    ASSERT_TRUE(m_client.OpenManager(m_window));
    EXPECT_EQ(m_client.State(), 3);
    ASSERT_TRUE(m_client.OpenSource());
    EXPECT_EQ(m_client.State(), 4);
    ASSERT_TRUE(m_client.EnableSource(m_window));
    EXPECT_EQ(m_client.State(), 5);
    ASSERT_TRUE(m_client.DisableSource());
    EXPECT_EQ(m_client.State(), 4);
    ASSERT_TRUE(m_client.CloseSource());
    ASSERT_TRUE(m_client.CloseManager(m_window));
    EXPECT_EQ(m_client.State(), 2);
    ASSERT_TRUE(m_client.UnloadManager());
    EXPECT_EQ(m_client.State(), 1);
    EXPECT_EQ(m_manager.unloads, 1);
    EXPECT_EQ(m_client.states, (std::vector<int>{2, 3, 4, 5, 4, 3, 2, 1}));
    const std::vector<Call> expected = {
        Manager(DAT_PARENT, MSG_OPENDSM),        Manager(DAT_IDENTITY, MSG_OPENDS),
        Source(DAT_USERINTERFACE, MSG_ENABLEDS), Source(DAT_USERINTERFACE, MSG_DISABLEDS),
        Source(DAT_IDENTITY, MSG_CLOSEDS),       Manager(DAT_PARENT, MSG_CLOSEDSM),
    };
    EXPECT_EQ(m_manager.calls, expected);

    // A refused call changes nothing.
    m_manager.answer = [](const Call&, TW_MEMREF) { return TWRC_FAILURE; };
    EXPECT_FALSE(m_client.OpenManager(m_window));
    EXPECT_EQ(m_client.State(), 2);
    EXPECT_EQ(m_client.ReturnCode(), TWRC_FAILURE);
}

TEST_F(TwainClientTest, AcquireReportsTheStepThatFailedAndGoesBackToTheStateItHad) {
    // Each step refused in turn: opening the manager (0), the source (1), enabling it (2).
    const std::pair<Call, int> failures[] = {{Manager(DAT_PARENT, MSG_OPENDSM), 0},
                                             {Manager(DAT_IDENTITY, MSG_OPENDS), 1},
                                             {Source(DAT_USERINTERFACE, MSG_ENABLEDS), 2}};
    for (const auto& [refused, code] : failures) {
        m_client.errors.clear();
        m_manager.answer = [refused](const Call& call, TW_MEMREF) {
            return call == refused ? TWRC_FAILURE : TWRC_SUCCESS;
        };
        ASSERT_TRUE(m_client.LoadManager());
        EXPECT_FALSE(m_client.Acquire(m_window));
        EXPECT_EQ(m_client.errors, std::vector<int>{code});
        EXPECT_EQ(m_client.State(), 2) << "back to where it started";
    }
    // From state 3 it drops back to 3, the manager still open.
    m_manager.answer = [](const Call& call, TW_MEMREF) {
        return call == Source(DAT_USERINTERFACE, MSG_ENABLEDS) ? TWRC_FAILURE : TWRC_SUCCESS;
    };
    ASSERT_TRUE(m_client.OpenManager(m_window));
    EXPECT_FALSE(m_client.Acquire(m_window));
    EXPECT_EQ(m_client.State(), 3);

    // The chooser leaves the state as it was, chosen or not.
    m_manager.calls.clear();
    m_manager.answer = [](const Call& call, TW_MEMREF) {
        return call.message == MSG_USERSELECT ? TWRC_CANCEL : TWRC_SUCCESS;
    };
    EXPECT_FALSE(m_client.SelectSource(m_window));
    EXPECT_EQ(m_client.State(), 3);
    EXPECT_EQ(m_manager.calls,
              (std::vector<Call>{Manager(DAT_IDENTITY, MSG_GETDEFAULT), Manager(DAT_IDENTITY, MSG_USERSELECT)}));
    ASSERT_TRUE(m_client.CloseManager(m_window));
    ASSERT_TRUE(m_client.UnloadManager());
    m_manager.answer = [](const Call&, TW_MEMREF) { return TWRC_SUCCESS; };
    EXPECT_TRUE(m_client.SelectSource(m_window));
    EXPECT_EQ(m_client.State(), 1);
}

TEST_F(TwainClientTest, ThreePendingImagesComeInOnePassAndTheSourceClosesAfterTheLast) {
    ScannerScript script(3);
    m_client.closeOnImage = true;
    ScanWith(script, MSG_XFERREADY);
    EXPECT_EQ(m_client.images.size(), 3u);
    EXPECT_EQ(m_client.State(), 3) << "closed once the last one was in";
    int closes = 0;
    for (const Call& call : m_manager.calls)
        closes += call == Source(DAT_IDENTITY, MSG_CLOSEDS);
    EXPECT_EQ(closes, 1);
}

TEST_F(TwainClientTest, CancelledAndFailingTransfersEndWithoutAnImageAndTheSourceStaysEnabled) {
    // The second of two is cancelled: one image, the pass goes on to the end.
    ScannerScript cancelled(2, {TWRC_XFERDONE, TWRC_CANCEL});
    ScanWith(cancelled, MSG_XFERREADY);
    EXPECT_EQ(m_client.images.size(), 1u);
    EXPECT_EQ(m_client.State(), 5);
    // A single cancelled one with nothing pending after it.
    ScannerScript alone(1, {TWRC_CANCEL});
    m_manager.answer = std::ref(alone);
    alone.notification = MSG_XFERREADY;
    MSG msg{m_window, WM_USER, 0, 0, 0, {}};
    m_client.ProcessMessage(msg);
    EXPECT_EQ(m_client.images.size(), 1u);
    EXPECT_EQ(m_client.State(), 5);
    // A source that fails every MSG_GET: the pass ends, the pending transfers are reset.
    ScannerScript failing(5, std::deque<TW_UINT16>(100, TWRC_FAILURE));
    m_manager.answer = std::ref(failing);
    failing.notification = MSG_XFERREADY;
    m_manager.calls.clear();
    m_client.ProcessMessage(msg);
    EXPECT_EQ(m_client.State(), 5);
    EXPECT_EQ(m_manager.calls.size(), 3u) << "the event, one MSG_GET, MSG_RESET";
    EXPECT_EQ(m_manager.calls.back(), Source(DAT_PENDINGXFERS, MSG_RESET));
}

TEST_F(TwainClientTest, ASourceThatAsksToCloseIsClosedAndOtherMessagesAreNotItsOwn) {
    ScannerScript script(0);
    ScanWith(script, MSG_CLOSEDSREQ);
    EXPECT_EQ(m_client.State(), 3);
    EXPECT_TRUE(m_client.images.empty());
    // Below state 5 nothing is offered to a source.
    m_manager.calls.clear();
    MSG msg{m_window, WM_USER, 0, 0, 0, {}};
    EXPECT_FALSE(m_client.ProcessMessage(msg));
    EXPECT_TRUE(m_manager.calls.empty());

    // A source that closes itself in the middle of a pass: the loop ends with it.
    ScannerScript closing(3);
    m_client.closeOnImage = false;
    ASSERT_TRUE(m_client.Acquire(m_window));
    closing.notification = MSG_XFERREADY;
    m_manager.answer = [&closing, this](const Call& call, TW_MEMREF data) {
        const TW_UINT16 result = closing(call, data);
        if (call.type == DAT_PENDINGXFERS && call.message == MSG_ENDXFER && closing.pending == 1)
            static_cast<TW_PENDINGXFERS*>(data)->Count = 0;  // it gave up after two
        return result;
    };
    EXPECT_TRUE(m_client.ProcessMessage(msg));
    EXPECT_EQ(m_client.images.size(), 2u);
    EXPECT_EQ(m_client.State(), 5);
}

TEST(TwainManagerLink, NoManagerFileOrOneWithoutItsEntryIsNoManager) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string manager = std::string(windows) + "\\TWAIN_32.DLL";
    const std::string aside = manager + ".aside";
    const bool hadOne = MoveFileExA(manager.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
    {
        TwainManagerLink link = ProcessTwainManager();
        CTwainClient client(link);
        EXPECT_FALSE(client.IsAvailable());
        EXPECT_EQ(link.availability, TwainManagerLink::Availability::kUnavailable);
        EXPECT_FALSE(client.IsAvailable()) << "asked once";
    }
    // A library that is no manager: the image library beside this program has no DSM_Entry. (A copy of one of
    // Wine's own libraries would not do: Wine loads its built-in library of the file's name instead.)
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string imageLibrary = std::string(self).substr(0, std::string(self).rfind('\\') + 1) + "kdmlib.dll";
    ASSERT_TRUE(CopyFileA(imageLibrary.c_str(), manager.c_str(), FALSE));
    {
        TwainManagerLink link = ProcessTwainManager();
        CTwainClient client(link);
        EXPECT_FALSE(client.LoadManager());
        EXPECT_EQ(client.State(), 1);
        EXPECT_EQ(link.module, nullptr);
    }
    DeleteFileA(manager.c_str());
    if (hadOne)
        MoveFileExA(aside.c_str(), manager.c_str(), MOVEFILE_REPLACE_EXISTING);
}
