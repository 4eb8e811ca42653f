#include <gtest/gtest.h>

#include <string>

#include "common/core/LogLine.h"
#include "common/core/tests/LogTesting.h"

namespace {
SendLogRecord ParseSend(std::string_view line) {
    SendLogRecord record;
    ParseLogLine(line, record);
    return record;
}

ReceiveLogRecord ParseReceive(std::string_view line, size_t fileLimit = 0) {
    ReceiveLogRecord record;
    ParseLogLine(line, record, fileLimit);
    return record;
}
}  // namespace

TEST(LogRecord, FieldsAreCutToTheirLimitsOnCharacterBoundariesAndNumbersTakeLeadingDigits) {
    const std::string longName = std::string(63, 'a') + kZhang;  // 65 bytes: the character doesn't fit
    const auto send =
        MakeRecord<SendLogRecord>({longName, "ERROR 12", "12x", "Jan.05,1999 14:03:27", " -7", "", "f", "1"});
    EXPECT_EQ(send.Field(SendLogRecord::kTo), std::string(63, 'a'));
    EXPECT_EQ(send.Field(SendLogRecord::kResult), "ERROR 1");
    EXPECT_EQ(send.Number(SendLogRecord::kDials), 12);
    EXPECT_EQ(send.Number(SendLogRecord::kPages), -7);
    EXPECT_TRUE(send.IsRead());

    const auto receive = MakeRecord<ReceiveLogRecord>({"x", "OK", "d", "99999999999"});
    EXPECT_EQ(receive.Field(ReceiveLogRecord::kPages), "9999");
    EXPECT_EQ(receive.Number(ReceiveLogRecord::kPages), 9999);
    EXPECT_EQ(receive.FileName(), "");
    EXPECT_FALSE(receive.IsRead());
    EXPECT_EQ(LeadingNumber("99999999999"), INT32_MAX);
    EXPECT_EQ(LeadingNumber("-99999999999"), INT32_MIN);
    EXPECT_EQ(LeadingNumber("abc"), 0);
}

TEST(LogRecord, UnreadReceivesAndUnsuccessfulSendsNeedAttention) {
    EXPECT_TRUE(Received("a", "d", "f", "0").NeedsAttention());
    EXPECT_FALSE(Received("a", "d", "f", "1").NeedsAttention());
    for (const char* sent : {"OK", "ok", "oK", "OKAY"})
        EXPECT_FALSE(MakeRecord<SendLogRecord>({"a", sent}).NeedsAttention()) << sent;
    for (const char* failed : {"", "O", "BUSY", " OK", "KO"})
        EXPECT_TRUE(MakeRecord<SendLogRecord>({"a", failed}).NeedsAttention()) << failed;
}

TEST(ParseLogLine, FieldsRunBetweenCommasAndTheRestIsTheReadFlag) {
    const auto full = ParseSend("to,OK,2,Jan.05,1999 14:03:27,3,note,f.smh,1\n");
    EXPECT_EQ(full.Field(SendLogRecord::kTo), "to");
    EXPECT_EQ(full.Date(), "Jan.05");  // the date's own comma splits it: writers quote it
    const auto quoted = ParseSend("to,OK,2,\"Jan.05,1999 14:03:27\",3,note,f.smh,1\n");
    EXPECT_EQ(quoted.Date(), "Jan.05,1999 14:03:27");
    EXPECT_EQ(quoted.Number(SendLogRecord::kPages), 3);
    EXPECT_EQ(quoted.FileName(), "f.smh");
    EXPECT_TRUE(quoted.IsRead());

    // Surplus commas vanish and their text joins the read flag, cut to 2 bytes.
    const auto surplus = ParseReceive("a,b,c,d,e,f,g,h");
    EXPECT_EQ(surplus.Field(ReceiveLogRecord::kFile), "e");
    EXPECT_EQ(surplus.Field(ReceiveLogRecord::kRead), "fg");

    // Too few fields: the text after the last comma is the read flag; the fields between stay empty.
    const auto few = ParseReceive("sender,OK,12");
    EXPECT_EQ(few.Field(ReceiveLogRecord::kFrom), "sender");
    EXPECT_EQ(few.Field(ReceiveLogRecord::kResult), "OK");
    EXPECT_EQ(few.Date(), "");
    EXPECT_EQ(few.Field(ReceiveLogRecord::kRead), "12");
    EXPECT_EQ(few.Number(ReceiveLogRecord::kRead), 12);

    const auto blank = ParseReceive("\n");
    EXPECT_EQ(blank, ReceiveLogRecord());
}

TEST(ParseLogLine, LeadingSpacesGoTrailingSpacesStayAndQuotesAreUndone) {
    const auto spaced = ParseReceive("  a b  ,\"  OK\",  x  ,1,f,0");
    EXPECT_EQ(spaced.Field(0), "a b  ");
    EXPECT_EQ(spaced.Field(1), "OK");
    EXPECT_EQ(spaced.Field(2), "x  ");
    const auto quotes = ParseReceive("\"say \"\"hi\"\", twice\",OK,d,1,f,0");
    EXPECT_EQ(quotes.Field(0), "say \"hi\", twice");
    // A trail byte that looks like a quote or comma is part of its character.
    const std::string tricky = std::string("\x81\x22\x81\x2C") + ",OK,d,1,f,0";
    EXPECT_EQ(ParseReceive(tricky).Field(0), "\x81\x22\x81\x2C");
}

TEST(ParseLogLine, FileNameCanBeReadShorterAndLoneLeadBytesNeverEndAField) {
    const std::string name = std::string(254, 'n') + kZhang;  // 256 bytes
    const auto whole = ParseReceive("a,OK,d,1," + name + ",0");
    EXPECT_EQ(whole.FileName(), name);
    const auto shorter = ParseReceive("a,OK,d,1," + name + ",0", 255);
    EXPECT_EQ(shorter.FileName(), std::string(254, 'n'));
    const auto lone = ParseReceive(std::string(31, 'x') + kZhang + ",OK");
    EXPECT_EQ(lone.Field(0), std::string(31, 'x'));
}

TEST(IsLogHeader, FirstTitleOrDateTitleMakesAHeader) {
    EXPECT_TRUE(IsLogHeader(ParseSend(std::string(kSendFirstTitle) + ",x,y")));
    EXPECT_TRUE(IsLogHeader(ParseReceive("a,b," + std::string(kLogDateTitle) + ",1")));
    EXPECT_FALSE(IsLogHeader(ParseReceive(std::string(kSendFirstTitle) + ",b,c")));
    EXPECT_FALSE(IsLogHeader(ParseReceive("")));
}

TEST(FormatLogLine, QuotesOnlyFieldsThatNeedItAndReadsBackUnchanged) {
    const auto record = MakeRecord<SendLogRecord>(
        {"a,b", "OK", "1", "Jan.05,1999 14:03:27", "2", "say \"hi\"", kZhang + "\x81\x22.smh", "0"});
    const std::string line = FormatLogLine(record);
    EXPECT_EQ(line, "\"a,b\",OK,1,\"Jan.05,1999 14:03:27\",2,\"say \"\"hi\"\"\",\xD5\xC5\x81\x22.smh,0\n");
    EXPECT_EQ(ParseSend(line), record);
    EXPECT_EQ(FormatLogLine(record, true), line.substr(0, line.size() - 2) + "1\n");
}

TEST(FormatLogLine, RecordsFullOfQuotesStillFitTheReaderAsOneLine) {
    const std::string quotes(64, '"');
    const auto record =
        MakeRecord<SendLogRecord>({quotes, "\"\"\"\"\"\"\"", "1", "", "1", quotes, std::string(256, '"'), "0"});
    const std::string line = FormatLogLine(record);
    EXPECT_LT(line.size(), SendLogLayout().lineLimit);
    size_t position = 0;
    std::string piece;
    ASSERT_TRUE(NextLogLine(line, position, SendLogLayout(), piece));
    EXPECT_EQ(piece, line);
    EXPECT_EQ(ParseSend(piece), record);
}

TEST(NextLogLine, OverLongLinesAreReadInPiecesOfTheReadersLimit) {
    const std::string longLine = std::string(500, 'x') + "\r\nnext\r\n";
    size_t position = 0;
    std::string piece;
    ASSERT_TRUE(NextLogLine(longLine, position, ReceiveLogLayout(), piece));
    EXPECT_EQ(piece.size(), 374u);
    ASSERT_TRUE(NextLogLine(longLine, position, ReceiveLogLayout(), piece));
    EXPECT_EQ(piece, std::string(126, 'x') + "\n");
    ASSERT_TRUE(NextLogLine(longLine, position, ReceiveLogLayout(), piece));
    EXPECT_EQ(piece, "next\n");
    EXPECT_FALSE(NextLogLine(longLine, position, ReceiveLogLayout(), piece));

    position = 0;
    ASSERT_TRUE(NextLogLine(longLine, position, SendLogLayout(), piece));
    EXPECT_EQ(piece.size(), 473u);
}
