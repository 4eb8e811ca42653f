#include <gtest/gtest.h>

#include "common/core/LogLine.h"
#include "companions/watcher/core/Reception.h"
#include "common/core/SmhWriter.h"

namespace {
const std::string kSender = "\xC9\xCF\xBA\xA3\xC3\xF7\xBB\xD4\xB5\xE7\xD7\xD3";  // 上海明辉电子
const std::string kUnknown = "\xCE\xB4\xD6\xAA";                                 // 未知

std::vector<uint8_t> Document(uint32_t pages, const SmhFileHeader& header) {
    std::vector<SmhPageSpec> specs;
    for (uint32_t i = 0; i < pages; ++i)
        specs.emplace_back(std::vector<uint8_t>(20 + i, static_cast<uint8_t>(i)));
    return BuildSmhDocument(header, specs);
}
std::vector<uint8_t> Document(uint32_t pages) {
    return Document(pages, MakeSmhHeader(pages));
}

const std::string& FieldText(const LogRecord& record, size_t field) {
    return record.Field(field);
}

ReceiveLogRecord ParsedBack(const std::string& line) {
    ReceiveLogRecord record;
    ParseLogLine(line, record);
    return record;
}
}  // namespace

TEST(CheckSampleFax, ADocumentTheViewerOpensIsValidAndYieldsItsHeader) {
    SmhFileHeader header;
    ASSERT_EQ(CheckSampleFax(Document(3), header), SampleCheck::kValid);
    EXPECT_EQ(header.PageCount(), 3u);
    // A kind-3 document with every page marked opens; only kind 2 is refused for it.
    SmhFileHeader marked = MakeSmhHeader(2);
    marked.SetDocKind(3);
    marked.SetMarkCount(2);
    marked.SetMarkFlag(1);
    EXPECT_EQ(CheckSampleFax(Document(2, marked), header), SampleCheck::kValid);
}

TEST(CheckSampleFax, FilesThatAreNoSmhDocumentAreRejected) {
    SmhFileHeader header;
    EXPECT_EQ(CheckSampleFax({}, header), SampleCheck::kTooShort);
    EXPECT_EQ(CheckSampleFax(std::vector<uint8_t>(kSmhFileHeaderSize - 1, 0), header), SampleCheck::kTooShort);
    const std::string text = "Fax cover sheet\r\n";
    std::vector<uint8_t> notSmh(text.begin(), text.end());
    notSmh.resize(2000, ' ');
    EXPECT_EQ(CheckSampleFax(notSmh, header), SampleCheck::kWrongFormat);
    SmhFileHeader format2 = MakeSmhHeader(1);
    format2.SetFormatId(2);
    EXPECT_EQ(CheckSampleFax(Document(1, format2), header), SampleCheck::kWrongFormat);
    EXPECT_EQ(CheckSampleFax(Document(0), header), SampleCheck::kNoPages);
}

TEST(CheckSampleFax, DocumentsTheViewerRefusesAreRejected) {
    SmhFileHeader refused = MakeSmhHeader(2);
    refused.SetDocKind(2);
    refused.SetMarkCount(2);
    refused.SetMarkFlag(1);
    SmhFileHeader header;
    EXPECT_EQ(CheckSampleFax(Document(2, refused), header), SampleCheck::kRefused);
}

TEST(CheckSampleFax, MissingOrCutPagesAreRejected) {
    SmhFileHeader header;
    auto truncated = Document(2);
    truncated.pop_back();
    EXPECT_EQ(CheckSampleFax(truncated, header), SampleCheck::kBadPage);

    // More pages counted than the file holds, up to a count no file of this size could hold.
    for (uint32_t count : {3u, 1000u, 0xFFFFFFFFu}) {
        SmhFileHeader lying = MakeSmhHeader(count);
        auto bytes = BuildSmhDocument(lying, {SmhPageSpec(std::vector<uint8_t>(30, 1)), SmhPageSpec({2, 3})});
        EXPECT_EQ(CheckSampleFax(bytes, header), SampleCheck::kBadPage) << count;
    }
    SmhPageSpec empty;
    EXPECT_EQ(CheckSampleFax(BuildSmhDocument(MakeSmhHeader(1), {empty}), header), SampleCheck::kBadPage);
}

TEST(SampleOrder, OnlySmhFilesInCaseFoldedNameOrder) {
    EXPECT_EQ(SampleOrder({"order.SMH", "Letter.smh", "notes.txt", "b.smhx", ".smh", "smh", "agenda.Smh"}),
              (std::vector<std::string>{"agenda.Smh", "Letter.smh", "order.SMH"}));
    EXPECT_EQ(SampleOrder({"b.smh", "B.smh", "a.smh"}), (std::vector<std::string>{"a.smh", "B.smh", "b.smh"}));
    EXPECT_TRUE(SampleOrder({}).empty());
}

TEST(ReceptionNames, DocumentAndPendingRecordAreNamedByTheReceptionTime) {
    const LogDateTime t{2026, 12, 1, 9, 3, 7};
    EXPECT_EQ(ReceivedFaxName(t, 0), "R20261201090307.smh");
    EXPECT_EQ(ReceivedFaxName(t, 1), "R20261201090307_1.smh");
    EXPECT_EQ(ReceivedFaxName(t, 12), "R20261201090307_12.smh");
    EXPECT_EQ(PendingRecordName(t, 0), "R20261201090307.CSV");
    EXPECT_EQ(PendingRecordName(t, 3), "R20261201090307_3.CSV");
    EXPECT_NE(ReceivedFaxName(t, 0), ReceivedFaxName({2026, 12, 1, 9, 3, 8}, 0));
}

TEST(SenderFromHeader, StationNameElseNumberElseTheFallback) {
    SmhFileHeader header = MakeSmhHeader(1);
    EXPECT_EQ(SenderFromHeader(header, kUnknown), kUnknown);
    header.SetStationNumber("021-58881234");
    EXPECT_EQ(SenderFromHeader(header, kUnknown), "021-58881234");
    header.SetStationName(kSender);
    EXPECT_EQ(SenderFromHeader(header, kUnknown), kSender);
}

TEST(SenderFromHeader, QuotesControlBytesAndLeadingSpacesAreDropped) {
    SmhFileHeader header = MakeSmhHeader(1);
    header.SetStationName("  Orvex \"Fax\"\r\n\tDept, 2 ");
    EXPECT_EQ(SenderFromHeader(header, kUnknown), "Orvex FaxDept, 2 ");
    // A name of nothing but quotes and blanks names no one: the number stands in.
    header.SetStationName(" \"\" ");
    header.SetStationNumber("010-1");
    EXPECT_EQ(SenderFromHeader(header, kUnknown), "010-1");
}

TEST(ReceiveRecord, NewRecordIsUnreadAndParsesBackToItsFields) {
    const Reception reception{kSender, 2, {2026, 12, 1, 9, 30, 12}, "R20261201093012.smh"};
    const ReceiveLogRecord record = ReceiveRecordFor(reception);
    const std::string text = PendingRecordText(record);
    EXPECT_EQ(text, kSender + ",OK,\"Dec.01,2026 09:30:12\",2,R20261201093012.smh,0\r\n");

    size_t position = 0;
    std::string line;
    ASSERT_TRUE(NextLogLine(text, position, ReceiveLogLayout(), line));
    const ReceiveLogRecord back = ParsedBack(line);
    EXPECT_FALSE(IsLogHeader(back));
    EXPECT_EQ(FieldText(back, ReceiveLogRecord::kFrom), kSender);
    EXPECT_EQ(FieldText(back, ReceiveLogRecord::kResult), "OK");
    EXPECT_EQ(back.Date(), "Dec.01,2026 09:30:12");
    EXPECT_EQ(back.Number(ReceiveLogRecord::kPages), 2);
    EXPECT_EQ(back.FileName(), "R20261201093012.smh");
    EXPECT_FALSE(back.IsRead());
    EXPECT_TRUE(back.NeedsAttention());
    EXPECT_TRUE(back == record);
    EXPECT_FALSE(NextLogLine(text, position, ReceiveLogLayout(), line)) << "one record, one line";

    const auto date = ParseLogDate(back.Date());
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(LogDateSeconds(*date), LogDateSeconds(reception.received));
}

TEST(ReceiveRecord, SenderWithACommaIsQuotedAndSurvivesTheRoundTrip) {
    const Reception reception{"Orvex, Ltd", 1, {1999, 1, 5, 14, 3, 27}, "R19990105140327_1.smh"};
    const std::string text = PendingRecordText(ReceiveRecordFor(reception));
    EXPECT_EQ(text.rfind("\"Orvex, Ltd\",OK,", 0), 0u) << text;
    const ReceiveLogRecord back = ParsedBack(text.substr(0, text.size() - 2));
    EXPECT_EQ(FieldText(back, ReceiveLogRecord::kFrom), "Orvex, Ltd");
    EXPECT_EQ(back.FileName(), "R19990105140327_1.smh");
}

TEST(ReceiveRecord, FieldsAreCutToWhatTheLogHolds) {
    // "a" and then double-byte characters: 32 bytes would split the sixteenth one.
    std::string longSender = "a";
    for (int i = 0; i < 20; ++i)
        longSender += "\xD5\xC5";
    const Reception reception{longSender, 123456, {2026, 1, 2, 3, 4, 5}, "R20260102030405.smh"};
    const ReceiveLogRecord record = ReceiveRecordFor(reception);
    EXPECT_EQ(FieldText(record, ReceiveLogRecord::kFrom), longSender.substr(0, 31));
    EXPECT_EQ(FieldText(record, ReceiveLogRecord::kPages), "9999");
    EXPECT_EQ(record.Number(ReceiveLogRecord::kPages), 9999);
    const std::string text = PendingRecordText(record);
    EXPECT_LT(text.size(), ReceiveLogLayout().lineLimit);
    EXPECT_TRUE(ParsedBack(text.substr(0, text.size() - 2)) == record);
}
