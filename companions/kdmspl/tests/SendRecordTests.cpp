#include <gtest/gtest.h>

#include "common/core/LogDate.h"
#include "common/core/LogLine.h"
#include "companions/kdmspl/core/SendRecord.h"

namespace {
// A well-formed document of `pages` pages, each with `coded` bytes of data after a `gap`.
std::vector<uint8_t> SmhBytes(uint32_t pages, uint32_t coded = 10, uint32_t gap = 4) {
    SmhFileHeader header;
    header.SetFormatId(kSmhFormatId);
    header.SetPageCount(pages);
    header.SetDocKind(2);
    std::vector<uint8_t> bytes(header.raw.begin(), header.raw.end());
    for (uint32_t i = 0; i < pages; ++i) {
        SmhPageHeader page;
        page.SetGapBytes(gap);
        page.SetCodedBytes(coded);
        page.SetAdvanceBytes(coded);
        bytes.insert(bytes.end(), page.raw.begin(), page.raw.end());
        bytes.insert(bytes.end(), gap + coded, 0x55);
    }
    return bytes;
}
}  // namespace

TEST(CheckSmhCopy, WellFormedCopyIsValidAndYieldsItsHeader) {
    auto bytes = SmhBytes(3);
    SmhFileHeader header;
    ASSERT_EQ(CheckSmhCopy(bytes, header), CopyCheck::kValid);
    EXPECT_EQ(header.PageCount(), 3u);
}

TEST(CheckSmhCopy, ShortOrForeignFilesAreRejected) {
    SmhFileHeader header;
    EXPECT_EQ(CheckSmhCopy({}, header), CopyCheck::kTooShort);
    EXPECT_EQ(CheckSmhCopy(std::vector<uint8_t>(kSmhFileHeaderSize - 1, 0), header), CopyCheck::kTooShort);
    auto bytes = SmhBytes(1);
    bytes[6] = 2;  // format id 2
    EXPECT_EQ(CheckSmhCopy(bytes, header), CopyCheck::kWrongFormat);
    EXPECT_EQ(CheckSmhCopy(SmhBytes(0), header), CopyCheck::kNoPages);
}

TEST(CheckSmhCopy, TruncatedLastPageIsRejected) {
    auto bytes = SmhBytes(2);
    bytes.resize(bytes.size() - 1);
    SmhFileHeader header;
    EXPECT_EQ(CheckSmhCopy(bytes, header), CopyCheck::kBadPage);
}

TEST(CheckSmhCopy, PageCountBeyondThePagesPresentIsRejected) {
    auto bytes = SmhBytes(2);
    SmhFileHeader header;
    std::copy(bytes.begin(), bytes.begin() + kSmhFileHeaderSize, header.raw.begin());
    header.SetPageCount(0xFFFFFFFFu);
    std::copy(header.raw.begin(), header.raw.end(), bytes.begin());
    EXPECT_EQ(CheckSmhCopy(bytes, header), CopyCheck::kBadPage);
    header.SetPageCount(3);
    std::copy(header.raw.begin(), header.raw.end(), bytes.begin());
    EXPECT_EQ(CheckSmhCopy(bytes, header), CopyCheck::kBadPage);
}

TEST(CheckSmhCopy, SendCopyOfAFullyMarkedDocumentIsStillSendable) {
    auto bytes = SmhBytes(2);
    SmhFileHeader header;
    std::copy(bytes.begin(), bytes.begin() + kSmhFileHeaderSize, header.raw.begin());
    header.SetMarkCount(2);
    header.SetMarkFlag(1);
    std::copy(header.raw.begin(), header.raw.end(), bytes.begin());
    EXPECT_EQ(CheckSmhCopy(bytes, header), CopyCheck::kValid);
}

TEST(SendRecord, DestinationIsTheNameElseTheNumber) {
    SmhFileHeader header;
    header.SetDestNumber("010-5551234");
    EXPECT_EQ(DestinationFromHeader(header), "010-5551234");
    header.SetDestName("\xD5\xC5\xC8\xFD");  // 张三
    EXPECT_EQ(DestinationFromHeader(header), "\xD5\xC5\xC8\xFD");
}

TEST(SendRecord, DestinationLosesQuotesAndControlBytes) {
    SmhFileHeader header;
    header.SetDestName("A\"B\r\nC,D");
    EXPECT_EQ(DestinationFromHeader(header), "ABC,D");
}

TEST(SendRecord, SentJobGivesAnUnreadSuccessLineThatReadsBack) {
    SendJob job;
    job.sent = true;
    job.destination = "Orvex, Ltd";
    job.pages = 3;
    job.taken = {1999, 1, 5, 14, 3, 27};
    job.documentName = "S19990105140327_1.smh";
    const SendLogRecord record = SendRecordFields(job);
    const std::string line = FormatLogLine(record);
    EXPECT_EQ(line, "\"Orvex, Ltd\",OK,0,\"Jan.05,1999 14:03:27\",3,,S19990105140327_1.smh,0\n");

    SendLogRecord back;
    ParseLogLine(line, back);
    EXPECT_FALSE(IsLogHeader(back));
    EXPECT_TRUE(back == record);
    EXPECT_EQ(back.Field(SendLogRecord::kTo), "Orvex, Ltd");
    EXPECT_TRUE(IsSentResult(back.Field(SendLogRecord::kResult)));
    EXPECT_EQ(back.Number(SendLogRecord::kDials), 0) << "nothing was dialled";
    EXPECT_EQ(back.Number(SendLogRecord::kPages), 3);
    EXPECT_EQ(back.FileName(), "S19990105140327_1.smh");
    EXPECT_FALSE(back.IsRead());
    const auto date = ParseLogDate(back.Date());
    ASSERT_TRUE(date.has_value()) << back.Date();
    EXPECT_EQ(LogDateSeconds(*date), LogDateSeconds(job.taken));
}

TEST(SendRecord, FailedJobIsNoSuccessAndKeepsItsReason) {
    SendJob job;
    job.destination = "010-5551234";
    job.taken = {2026, 12, 31, 0, 0, 9};
    job.remark = "\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA";  // 文件不存在
    const SendLogRecord record = SendRecordFields(job);
    EXPECT_EQ(FormatLogLine(record),
              "010-5551234,ERROR,0,\"Dec.31,2026 00:00:09\",0,\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA,,0\n");
    EXPECT_FALSE(IsSentResult(record.Field(SendLogRecord::kResult)));
    EXPECT_TRUE(record.NeedsAttention()) << "a failed send is drawn bold";
    EXPECT_TRUE(record.FileName().empty()) << "no document to open";
}

TEST(SendRecord, FieldsAreCutToTheLogMaximaWithoutSplittingCharacters) {
    SendJob job;
    job.destination = "a" + std::string(70, '\xB0');  // a lead byte run: "a" then 35 double-byte characters
    job.pages = 123456;
    job.remark = std::string(80, 'r');
    const SendLogRecord record = SendRecordFields(job);
    EXPECT_EQ(record.Field(SendLogRecord::kTo), "a" + std::string(62, '\xB0'));
    EXPECT_EQ(record.Field(SendLogRecord::kPages), "9999") << "capped, not cut to its first digits";
    EXPECT_EQ(record.Number(SendLogRecord::kPages), 9999);
    EXPECT_EQ(record.Field(SendLogRecord::kRemark), std::string(64, 'r'));

    SendLogRecord back;
    ParseLogLine(FormatLogLine(record), back);
    EXPECT_TRUE(back == record);
}

TEST(SendRecord, QuotesInTheRemarkAreDoubledAndReadBack) {
    SendJob job;
    job.sent = true;
    job.destination = "010-1";
    job.remark = "say \"hi\"";
    const SendLogRecord record = SendRecordFields(job);
    const std::string line = FormatLogLine(record);
    EXPECT_NE(line.find(",\"say \"\"hi\"\"\","), std::string::npos) << line;
    SendLogRecord back;
    ParseLogLine(line, back);
    EXPECT_EQ(back.Field(SendLogRecord::kRemark), "say \"hi\"");
}
