#include "common/core/LogDate.h"

#include <cstdio>

#include "framework/core/Mbcs.h"

namespace {
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

enum TokenIndex { kMonth, kDay, kYear, kHour, kMinute, kSecond, kTokenCount };

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A token of the date text; one longer than any valid token makes the date unusable.
struct Token {
    char text[12];
    size_t size = 0;
    bool overlong = false;
    void Append(char c) {
        if (size < sizeof text)
            text[size++] = c;
        else
            overlong = true;
    }
    std::string_view View() const { return {text, size}; }
};

// Numbers are taken from their leading digits; a token of letters or a huge one makes the date unusable.
std::optional<int> TokenNumber(const Token& token, int low, int high) {
    int value = 0;
    size_t i = 0;
    for (; i < token.size && token.text[i] >= '0' && token.text[i] <= '9'; ++i) {
        value = value * 10 + (token.text[i] - '0');
        if (value > high)
            return std::nullopt;
    }
    if (i == 0 || value < low)
        return std::nullopt;
    return value;
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
}  // namespace

// A delimiter only ends the token it belongs to; anywhere else it is ignored like any other punctuation.
std::optional<LogDateTime> ParseLogDate(std::string_view text) {
    Token tokens[kTokenCount];
    int at = kMonth;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLeadByte(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if ((c == '.' && at == kMonth) || (c == ',' && at == kDay) || (c == ' ' && at == kYear) ||
            (c == ':' && (at == kHour || at == kMinute))) {
            ++at;
        } else if (IsAlnum(c)) {
            tokens[at].Append(c);
        } else if (c == ':' && at == kSecond) {
            break;
        }
    }
    for (const Token& token : tokens) {
        if (token.size == 0 || token.overlong)
            return std::nullopt;
    }
    LogDateTime t{};
    t.month = 0;
    for (int m = 0; m < 12; ++m) {
        if (tokens[kMonth].View() == kMonths[m])
            t.month = m + 1;
    }
    const auto day = TokenNumber(tokens[kDay], 1, 31);
    const auto year = TokenNumber(tokens[kYear], 0, 99999);
    const auto hour = TokenNumber(tokens[kHour], 0, 23);
    const auto minute = TokenNumber(tokens[kMinute], 0, 59);
    const auto second = TokenNumber(tokens[kSecond], 0, 61);
    if (t.month == 0 || !day || !year || !hour || !minute || !second)
        return std::nullopt;
    t.day = *day;
    t.year = *year;
    t.hour = *hour;
    t.minute = *minute;
    t.second = *second;
    return t;
}

std::string FormatLogDate(const LogDateTime& t) {
    char text[40];
    const int month = t.month >= 1 && t.month <= 12 ? t.month - 1 : 0;
    std::snprintf(text, sizeof text, "%s.%02d,%04d %02d:%02d:%02d", kMonths[month], t.day, t.year, t.hour, t.minute,
                  t.second);
    return text;
}

int64_t LogDateSeconds(const LogDateTime& t) {
    return DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) * 86400 +
           int64_t(t.hour) * 3600 + int64_t(t.minute) * 60 + t.second;
}

int CompareLogDates(std::string_view added, std::string_view listed) {
    const auto a = ParseLogDate(added);
    const auto l = ParseLogDate(listed);
    if (!a || !l)
        return 0;
    const int64_t as = LogDateSeconds(*a);
    const int64_t ls = LogDateSeconds(*l);
    return ls < as ? 1 : as < ls ? -1 : 0;
}

bool IsRecentLogDate(std::string_view text, const LogDateTime& now) {
    const auto t = ParseLogDate(text);
    return t && LogDateSeconds(*t) >= LogDateSeconds(now) - 30 * 86400;
}
