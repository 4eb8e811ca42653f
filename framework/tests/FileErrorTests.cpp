#include <windows.h>

#include <gtest/gtest.h>

#include "framework/FileErrors.h"
#include "framework/testing/Scripted.h"

namespace {
DWORD OpenAndGetError(const std::string& path, DWORD share) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD error = GetLastError();
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return h == INVALID_HANDLE_VALUE ? error : ERROR_SUCCESS;
}
}  // namespace

TEST(FileErrors, EachCauseGetsItsOwnText) {
    EXPECT_EQ(OpenErrorText("C:\\a.smh", OpenAndGetError("C:\\no such folder\\a.smh", FILE_SHARE_READ)),
              "C:\\a.smh was not found.");
    EXPECT_EQ(OpenErrorText("C:\\a.smh", OpenAndGetError("C:\\missing.smh", FILE_SHARE_READ)),
              "C:\\a.smh was not found.");

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string locked = std::string(temp) + "locked.smh";
    HANDLE writer = CreateFileA(locked.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    // Opening deny-write while someone writes fails with a sharing violation.
    EXPECT_EQ(OpenErrorText(locked, OpenAndGetError(locked, FILE_SHARE_READ)),
              "A sharing violation occurred while accessing " + locked + ".");
    CloseHandle(writer);
    DeleteFileA(locked.c_str());

    EXPECT_EQ(OpenErrorText("x", ERROR_NOT_ENOUGH_MEMORY), "Failed to open document.");
}

TEST(FileErrors, TheReportIsAnExclamationBox) {
    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    ReportOpenError(nullptr, "C:\\b.smh", ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "C:\\b.smh was not found.");
    EXPECT_EQ(boxes.Calls()[0].type, UINT(MB_ICONEXCLAMATION | MB_OK));
}
