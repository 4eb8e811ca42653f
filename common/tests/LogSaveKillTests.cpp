#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/testing/SampleLogs.h"
#include "common/tests/KilledSaves.h"
#include "framework/testing/TempFolder.h"

// However a rewrite of "receive.csv" is cut off, the log on disk is one of the two complete logs, never a
// truncated or half-written one.
TEST(LogSaveKill, AKilledSaveLeavesTheOldOrTheNewLog) {
    CTempFolder folder;
    const std::string path = folder.Path() + "receive.csv";
    // The child's logs: loaded and saved, they are written back byte for byte.
    const std::string logs[2] = {SampleReceiveLog(10000, kSampleLogNewest, 60, 0),
                                 SampleReceiveLog(10000, kSampleLogNewest, 60, 1)};
    ASSERT_GT(logs[0].size(), 500000u);

    // The folder ends in a backslash, doubled so that it does not quote the closing quote.
    const auto seen = KillDuringSaves("log_save_child.exe", "\"" + folder.Path() + "\\\"", path, logs, 20261208);
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}
