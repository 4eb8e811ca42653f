#include <windows.h>

#include <gtest/gtest.h>

#include "framework/SingleInstance.h"

TEST(SingleInstance, OnlyTheFirstAcquireHoldsTheMutexUntilReleased) {
    CSingleInstance first("Mirolo Test Instance");
    CSingleInstance second("Mirolo Test Instance");
    ASSERT_TRUE(first.Acquire());
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.Held());
    first.Release();
    EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstance, OwnWindowsAreNeverTakenForTheRunningCopy) {
    CSingleInstance instance("Mirolo Test Window");
    HWND hwnd =
        CreateWindowExA(0, "STATIC", "x", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    instance.MarkMainWindow(hwnd);
    EXPECT_EQ(instance.FindRunningWindow(nullptr, 0), nullptr);
    DestroyWindow(hwnd);
}
