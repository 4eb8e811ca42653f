#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Records of the send log ("send.csv") and the receive log ("receive.csv"). Each field is text cut to its
// maximum on a character boundary; the dial-attempt, page and read-flag fields are also held as integers taken
// from their leading digits.

enum class LogKind { kSend, kReceive };

struct LogLayout {
    LogKind kind;
    size_t fieldCount;
    std::array<size_t, 8> limits;  // bytes, without the terminator
    std::array<bool, 8> numeric;
    size_t dateField;
    size_t pagesField;
    size_t fileField;
    size_t readField;              // always the last field
    size_t lineLimit;              // the reader's line buffer: pieces of at most lineLimit - 1 bytes
    std::string_view firstTitle;   // "到" or "从": a line whose field 0 equals it is a header
    std::string_view logFileName;  // "send.csv" or "receive.csv"
    char pendingPrefix;            // 'S' or 'R': pending record files "S*.CSV" / "R*.CSV"
};

const LogLayout& SendLogLayout();
const LogLayout& ReceiveLogLayout();
const LogLayout& LayoutOf(LogKind kind);

// The date field's heading: a line whose date field equals it is a header. Headings are code page 936 bytes
// spelt out, so the native build compares the same bytes as the programs.
inline constexpr std::string_view kLogDateTitle = "\xC8\xD5\xC6\xDA/\xCA\xB1\xBC\xE4";  // 日期/时间
inline constexpr std::string_view kSendFirstTitle = "\xB5\xBD";                         // 到
inline constexpr std::string_view kReceiveFirstTitle = "\xB4\xD3";                      // 从

class LogRecord {
public:
    explicit LogRecord(const LogLayout& layout) : m_layout(&layout) {}

    const LogLayout& Layout() const { return *m_layout; }
    LogKind Kind() const { return m_layout->kind; }

    // Sets all fields at once; fields beyond `texts` are emptied. Each text is cut to its field's maximum on a
    // character boundary (a lone lead byte at the end is dropped too), and the record's line always stays
    // within the reader's limit.
    void Set(std::span<const std::string_view> texts);
    // Sets one field the same way; used by the line parser and by marking read.
    void SetField(size_t index, std::string_view text);
    // The same for text known to hold whole characters only, as the line parser builds them: only an over-long
    // text needs its characters walked.
    void SetWholeField(size_t index, std::string_view text);

    const std::string& Field(size_t index) const { return m_fields[index]; }
    // Leading decimal digits of a numeric field (after spaces and a sign), clamped to 32 bits; 0 when none.
    int32_t Number(size_t index) const { return m_numbers[index]; }

    const std::string& Date() const { return m_fields[m_layout->dateField]; }
    const std::string& FileName() const { return m_fields[m_layout->fileField]; }
    bool IsRead() const { return m_numbers[m_layout->readField] != 0; }
    void MarkRead() { SetField(m_layout->readField, "1"); }

    // Drawn bold in the log lists: an unread received fax, or a send whose result isn't a success.
    bool NeedsAttention() const;

    bool operator==(const LogRecord& other) const;

private:
    void KeepLineReadable();

    const LogLayout* m_layout;
    std::array<std::string, 8> m_fields;
    std::array<int32_t, 8> m_numbers = {};
};

class SendLogRecord : public LogRecord {
public:
    enum FieldIndex : size_t { kTo, kResult, kDials, kDate, kPages, kRemark, kFile, kRead };
    SendLogRecord() : LogRecord(SendLogLayout()) {}
};

class ReceiveLogRecord : public LogRecord {
public:
    enum FieldIndex : size_t { kFrom, kResult, kDate, kPages, kFile, kRead };
    ReceiveLogRecord() : LogRecord(ReceiveLogLayout()) {}
};

// A result whose first two characters are "O"/"o" then "K"/"k" counts as sent.
bool IsSentResult(std::string_view result);

// Leading decimal digits as a 32-bit integer, the way the records take their numbers.
int32_t LeadingNumber(std::string_view text);

// The record's line as it is written, ending in "\n": fields separated by commas, a field holding a comma or a
// double quote enclosed in double quotes with its quotes doubled. `asRead` writes the read flag as "1"
// (read-mark lines).
std::string FormatLogLine(const LogRecord& record, bool asRead = false);
