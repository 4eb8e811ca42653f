#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/HeldRequests.h"
#include "framework/MessageBox.h"
#include "framework/Window.h"
#include "framework/testing/Scripted.h"

namespace {
constexpr UINT kHandOver = WM_APP + 7;

// A window whose hand-over message is a request, as a program's main window has.
class CRequestWnd : public CWnd {
public:
    bool Create() {
        RegisterWindowClass(GetModuleHandleA(nullptr), "MiroloHeldRequestTest", 0, nullptr);
        return CreateEx(0, "MiroloHeldRequestTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                        GetModuleHandleA(nullptr)) != nullptr;
    }
    std::string handled;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kHandOver) {
            if (HoldRequest(m_hWnd, msg, wp, lp))
                return 0;
            handled += static_cast<char>(wp);
            return 0;
        }
        return CWnd::WindowProc(msg, wp, lp);
    }
};

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

class HeldRequestsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_window.Create()); }
    void TearDown() override {
        DestroyWindow(m_window);
        PumpMessages();
    }
    CRequestWnd m_window;
};
}  // namespace

TEST_F(HeldRequestsTest, RequestsWaitForTheWorkAndThenRunInTheOrderTheyCame) {
    std::string ran;
    RunOrHold(m_window, [&] { ran += "now "; });
    EXPECT_EQ(ran, "now ") << "with no work under way a request runs at once";
    {
        CWorkScope work;
        RunOrHold(m_window, [&] { ran += "a "; });
        SendMessageA(m_window, kHandOver, 'x', 0);
        {
            CWorkScope inner;
            PumpMessages();
        }
        RunOrHold(m_window, [&] { ran += "b "; });
        PumpMessages();
        EXPECT_EQ(ran, "now ");
        EXPECT_EQ(m_window.handled, "");
    }
    // Not from inside the finished work's last moments: from the next message.
    EXPECT_EQ(ran, "now ");
    RunOrHold(m_window, [&] { ran += "c "; });
    EXPECT_EQ(ran, "now ") << "a request never overtakes held ones";
    PumpMessages();
    EXPECT_EQ(ran, "now a b c ");
    EXPECT_EQ(m_window.handled, "x");
    EXPECT_EQ(CWorkScope::Depth(), 0);
}

TEST_F(HeldRequestsTest, AMessageBoxIsWorkAndARequestOfAWindowThatIsGoneIsDropped) {
    class CRequestingBoxes : public CScriptedMessageBoxes {
    public:
        int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
            SendMessageA(window, kHandOver, 'm', 0);
            handledMeanwhile = static_cast<CRequestWnd*>(CWnd::FromHandle(window))->handled;
            return CScriptedMessageBoxes::Show(owner, text, caption, type);
        }
        HWND window = nullptr;
        std::string handledMeanwhile = "?";
    } boxes;
    boxes.window = m_window;
    CScopedSeam<IMessageBoxes> seam(boxes);
    AppMessageBox(nullptr, "question", MB_OK);
    EXPECT_EQ(boxes.handledMeanwhile, "");
    PumpMessages();
    EXPECT_EQ(m_window.handled, "m");

    CRequestWnd other;
    ASSERT_TRUE(other.Create());
    bool ran = false;
    {
        CWorkScope work;
        RunOrHold(other, [&] { ran = true; });
        DestroyWindow(other);
    }
    PumpMessages();
    EXPECT_FALSE(ran);
    RunOrHold(m_window, [&] { ran = true; });
    EXPECT_TRUE(ran) << "nothing is left waiting";
}
