#include <windows.h>

#include <gtest/gtest.h>

#include "framework/BusyState.h"

namespace {
class BusyStateTest : public testing::Test {
protected:
    void SetUp() override {
        m_window = CreateWindowExA(0, "STATIC", "busy", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                   nullptr);
        m_child =
            CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_window, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_window && m_child);
    }
    void TearDown() override { DestroyWindow(m_window); }

    static int Pending(HWND hwnd, UINT first, UINT last) {
        MSG msg;
        int count = 0;
        while (PeekMessageA(&msg, hwnd, first, last, PM_REMOVE))
            ++count;
        return count;
    }

    HWND m_window = nullptr;
    HWND m_child = nullptr;
};
}  // namespace

TEST_F(BusyStateTest, DisablesWhileBusyAndDiscardsInputQueuedMeanwhile) {
    {
        CBusyState busy(m_window);
        EXPECT_FALSE(IsWindowEnabled(m_window));
        EXPECT_TRUE(CBusyState::IsBusy());
        PostMessageA(m_window, WM_LBUTTONDOWN, 0, 0);
        PostMessageA(m_child, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(m_child, WM_CHAR, 'a', 0);
        PostMessageA(m_window, WM_USER + 5, 0, 0);
    }
    EXPECT_TRUE(IsWindowEnabled(m_window));
    EXPECT_FALSE(CBusyState::IsBusy());
    EXPECT_EQ(Pending(m_window, WM_MOUSEFIRST, 0x209), 0);
    EXPECT_EQ(Pending(m_child, WM_KEYFIRST, 0x108), 0);
    // Other messages are left alone.
    EXPECT_EQ(Pending(m_window, WM_USER + 5, WM_USER + 5), 1);
}

TEST_F(BusyStateTest, NestedScopesEnableOnlyAtTheOuterEnd) {
    {
        CBusyState outer(m_window);
        { CBusyState inner(m_window); }
        EXPECT_FALSE(IsWindowEnabled(m_window));
    }
    EXPECT_TRUE(IsWindowEnabled(m_window));
}

TEST_F(BusyStateTest, AWindowDisabledBeforeStaysDisabled) {
    EnableWindow(m_window, FALSE);
    { CBusyState busy(m_window); }
    EXPECT_FALSE(IsWindowEnabled(m_window));
}

TEST_F(BusyStateTest, TheKeyboardFocusGoesBackToTheControlThatHadIt) {
    HWND edit =
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 30, 80, 20, m_window, nullptr, nullptr, nullptr);
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    {
        CBusyState busy(m_window);
        // Windows takes the focus from a control whose window is disabled; Wine leaves it there.
        SetFocus(nullptr);
    }
    EXPECT_EQ(GetFocus(), edit);
}
