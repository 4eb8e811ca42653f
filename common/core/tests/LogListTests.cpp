#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/core/LogLine.h"
#include "common/core/LogList.h"
#include "common/core/tests/LogTesting.h"

namespace {
const LogDateTime kNow{2026, 12, 8, 9, 0, 0};
const char* kYesterday = "Dec.07,2026 09:00:00";
const char* kFortyDaysAgo = "Oct.29,2026 09:00:00";

std::string Dates(const LogList& list) {
    std::string dates;
    for (size_t i = 0; i < list.Size(); ++i)
        dates += list.At(i).Date().substr(0, 6) + ";";
    return dates;
}

LogList ListOf(size_t rows, const char* date) {
    LogList list(ReceiveLogLayout(), kNow);
    for (size_t i = 0; i < rows; ++i)
        list.Insert(Received("s" + std::to_string(i), date), LogInsertMode::kAppend);
    return list;
}
}  // namespace

TEST(LogList, PendingRecordsMergeNewestFirstAboveTheLogsOwnOrder) {
    LogList list(ReceiveLogLayout(), kNow);
    std::string pending;
    for (const char* date : {"Jan.02,2026 08:00:00", "Jan.01,2026 08:00:00", "Jan.03,2026 08:00:00"})
        pending += FormatLogLine(Received("p", date));
    list.InsertLines(pending, LogInsertMode::kByDate);
    const std::string log =
        FormatLogLine(Received("l", "Feb.01,2026 08:00:00")) + FormatLogLine(Received("l", "Jan.15,2026 08:00:00"));
    list.InsertLines(log, LogInsertMode::kAppend);
    EXPECT_EQ(Dates(list), "Jan.03;Jan.02;Jan.01;Feb.01;Jan.15;");
    EXPECT_EQ(list.Format(), pending.substr(0, 0) + FormatLogLine(list.At(0)) + FormatLogLine(list.At(1)) +
                                 FormatLogLine(list.At(2)) + log);
}

TEST(LogList, ByDateTiesGoFirstAndUnparsableDatesGoToTheTop) {
    LogList list(ReceiveLogLayout(), kNow);
    list.Insert(Received("old", "Jan.01,2026 08:00:00"), LogInsertMode::kByDate);
    EXPECT_EQ(list.Insert(Received("tie", "Jan.01,2026 08:00:00"), LogInsertMode::kByDate), 0);
    EXPECT_EQ(list.Insert(Received("older", "Dec.01,2025 08:00:00"), LogInsertMode::kByDate), 2);
    EXPECT_EQ(list.Insert(Received("bad", "not a date"), LogInsertMode::kByDate), 0);
    EXPECT_EQ(list.At(1).Field(0), "tie");
}

TEST(LogList, HeadersAndBlankLinesAreHandledAsTheReadersDo) {
    LogList list(ReceiveLogLayout(), kNow);
    list.InsertLines(std::string(kReceiveFirstTitle) + ",x,y,z\r\n\r\na,OK,\"" + kYesterday + "\",1,f,0\r\n",
                     LogInsertMode::kAppend);
    ASSERT_EQ(list.Size(), 2u);  // the blank line is a record
    EXPECT_EQ(list.At(0), ReceiveLogRecord());
    EXPECT_EQ(list.At(1).Date(), kYesterday);
}

TEST(LogList, RetentionDropsOldRecordsOnlyBeyondTheFirstHundredAndOne) {
    LogList list = ListOf(150, kYesterday);
    std::vector<std::string> dropped;
    list.OnRetentionDrop([&](const LogRecord& r) { dropped.push_back(r.FileName()); });
    EXPECT_EQ(list.Insert(Received("old", kFortyDaysAgo, "old.smh"), LogInsertMode::kAppend), -1);
    EXPECT_EQ(list.Insert(Received("new", kYesterday, "new.smh"), LogInsertMode::kAppend), 150);
    EXPECT_EQ(dropped, std::vector<std::string>{"old.smh"});

    LogList edge = ListOf(100, kYesterday);
    edge.OnRetentionDrop([&](const LogRecord& r) { dropped.push_back(r.FileName()); });
    EXPECT_EQ(edge.Insert(Received("at100", kFortyDaysAgo, "a.smh"), LogInsertMode::kAppend), 100);
    EXPECT_EQ(edge.Insert(Received("at101", kFortyDaysAgo, "b.smh"), LogInsertMode::kAppend), -1);
    EXPECT_EQ(edge.Insert(Received("bad", "Dec 01,2026 09:00:00", "c.smh"), LogInsertMode::kAppend), -1);
    EXPECT_EQ(dropped, (std::vector<std::string>{"old.smh", "b.smh", "c.smh"}));
    // Old records merged near the top stay: their position, not their age alone, decides.
    EXPECT_EQ(edge.Insert(Received("merged", "Dec.08,2026 08:00:00"), LogInsertMode::kByDate), 0);
}

TEST(LogList, TheTenThousandthRecordIsTheLast) {
    LogList list = ListOf(kLogCapacity, kYesterday);
    bool dropped = false;
    list.OnRetentionDrop([&](const LogRecord&) { dropped = true; });
    EXPECT_EQ(list.Insert(Received("more", kYesterday, "x.smh"), LogInsertMode::kByDate), -1);
    EXPECT_EQ(list.Size(), kLogCapacity);
    EXPECT_FALSE(dropped);  // the capacity drops silently, the document stays
}

TEST(LogList, ReadMarksMatchTheFirstUnreadRecordWithinTheMarksLine) {
    LogList list(ReceiveLogLayout(), kNow);
    list.Insert(Received("a", kYesterday, "a.smh"), LogInsertMode::kAppend);
    list.Insert(Received("b", kYesterday, "b.smh"), LogInsertMode::kAppend);
    list.Insert(Received("b", kYesterday, "b.smh"), LogInsertMode::kAppend);
    const std::string mark = FormatLogLine(list.At(1), true);
    EXPECT_EQ(list.ApplyReadMark(mark), 1);
    EXPECT_TRUE(list.At(1).IsRead());
    EXPECT_FALSE(list.At(2).IsRead());
    EXPECT_EQ(list.ApplyReadMark(mark.substr(0, mark.size() - 1)), 2);  // without its line feed too
    EXPECT_EQ(list.ApplyReadMark(mark), -1);                            // a read record is never matched again
    EXPECT_EQ(list.ApplyReadMark("nothing,like,it"), -1);
    EXPECT_EQ(list.ApplyReadMark(""), -1);
    EXPECT_FALSE(list.At(0).IsRead());
    // A mark longer than a record's line at its end does not match it.
    EXPECT_EQ(list.ApplyReadMark(FormatLogLine(Received("a", kYesterday, "a.smhx"), true)), -1);
}

TEST(LogList, RemoveTakesOneRow) {
    LogList list = ListOf(3, kYesterday);
    list.Remove(1);
    ASSERT_EQ(list.Size(), 2u);
    EXPECT_EQ(list.At(1).Field(0), "s2");
}
