#include <gtest/gtest.h>

#include "common/core/LogDate.h"

TEST(ParseLogDate, ReadsTheLogsDateFormAndFormatsItBack) {
    const auto t = ParseLogDate("Jan.05,1999 14:03:27");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year, 1999);
    EXPECT_EQ(t->month, 1);
    EXPECT_EQ(t->day, 5);
    EXPECT_EQ(t->hour, 14);
    EXPECT_EQ(t->minute, 3);
    EXPECT_EQ(t->second, 27);
    EXPECT_EQ(FormatLogDate(*t), "Jan.05,1999 14:03:27");
    EXPECT_EQ(FormatLogDate({2026, 12, 31, 9, 5, 0}), "Dec.31,2026 09:05:00");
    // Stray bytes are ignored, and the seconds end at a further colon.
    EXPECT_TRUE(
        ParseLogDate("Feb.\xD5\xC5"
                     "28,2000 00:00:00:99"));
}

TEST(ParseLogDate, MisplacedSeparatorsEmptyTokensAndUnknownMonthsFail) {
    for (const char* bad : {"Jan 05,1999 14:03:27", "Jan.05, 1999 14:03:27", "", "Jan.05,1999", "jan.05,1999 14:03:27",
                            "Foo.05,1999 14:03:27", "Jan.,1999 14:03:27", "Jan.05,1999 14::27", "Jan.05,1999 14:03:",
                            "Jan.99,1999 14:03:27", "Jan.05,1999 25:03:27", "Jan.05,99999999999 14:03:27"})
        EXPECT_FALSE(ParseLogDate(bad)) << bad;
}

TEST(CompareLogDates, OrdersByTimeAndTreatsUnparsableDatesAsEqual) {
    EXPECT_EQ(CompareLogDates("Jan.02,2000 00:00:00", "Jan.01,2000 23:59:59"), 1);
    EXPECT_EQ(CompareLogDates("Dec.31,1999 23:59:59", "Jan.01,2000 00:00:00"), -1);
    EXPECT_EQ(CompareLogDates("Jan.01,2000 00:00:00", "Jan.01,2000 00:00:00"), 0);
    EXPECT_EQ(CompareLogDates("Jan 01,2000 00:00:00", "Jan.01,1990 00:00:00"), 0);
    EXPECT_EQ(CompareLogDates("Jan.01,1990 00:00:00", "garbage"), 0);
}

TEST(IsRecentLogDate, ThirtyDaysBackToTheSecond) {
    const LogDateTime now{2026, 3, 31, 12, 0, 0};
    EXPECT_TRUE(IsRecentLogDate("Mar.01,2026 12:00:00", now));  // exactly 30 days
    EXPECT_FALSE(IsRecentLogDate("Mar.01,2026 11:59:59", now));
    EXPECT_TRUE(IsRecentLogDate("Dec.31,2030 00:00:00", now));   // the future is recent
    EXPECT_FALSE(IsRecentLogDate("Mar 31,2026 12:00:00", now));  // unparsable is never recent
    // Across a leap day: Feb.29 lies between.
    EXPECT_TRUE(IsRecentLogDate("Feb.14,2024 00:00:00", {2024, 3, 15, 0, 0, 0}));
    EXPECT_FALSE(IsRecentLogDate("Feb.14,2024 00:00:00", {2024, 3, 16, 0, 0, 1}));
}
