#include "common/testing/SampleLogs.h"

#include "common/core/LogLine.h"
#include "common/core/TextModeLines.h"

namespace {
// Code page 936 bytes, spelt out so the data does not depend on the compiler's character set.
const char* const kSenders[] = {"\xB1\xB1\xBE\xA9\xBB\xAA\xD0\xC5\xC3\xB3\xD2\xD7",  // 北京华信贸易
                                "\xC9\xCF\xBA\xA3\xC3\xF7\xBB\xD4\xB5\xE7\xD7\xD3",  // 上海明辉电子
                                "0571-88001234", "ORVEX, SHENZHEN"};
}  // namespace

LogDateTime LogDateBefore(const LogDateTime& t, int64_t seconds) {
    const int64_t total = LogDateSeconds(t) - seconds;
    int64_t day = total / 86400;
    int64_t rest = total % 86400;
    if (rest < 0) {
        rest += 86400;
        --day;
    }
    // Civil date of a day count since 1970-01-01.
    day += 719468;
    const int64_t era = (day >= 0 ? day : day - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(day - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    LogDateTime result{};
    result.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    result.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    result.year = static_cast<int>(yoe + era * 400 + (result.month <= 2));
    result.hour = static_cast<int>(rest / 3600);
    result.minute = static_cast<int>(rest / 60 % 60);
    result.second = static_cast<int>(rest % 60);
    return result;
}

std::string SampleReceiveLog(int rows, const LogDateTime& newest, int spacingSeconds, int variant) {
    std::string log;
    log.reserve(static_cast<size_t>(rows) * 72);
    for (int i = 0; i < rows; ++i) {
        const LogDateTime when = LogDateBefore(newest, int64_t(i) * spacingSeconds);
        const std::string date = FormatLogDate(when);
        const std::string sender = std::string(kSenders[(i + variant) % 4]) + (variant ? "*" : "");
        const std::string pages = std::to_string(i % 7 + 1);
        const std::string file = "R" + std::to_string(20000000 + i) + ".smh";
        ReceiveLogRecord record;
        const std::string_view fields[] = {sender, "OK", date, pages, file, i % 3 == 0 ? "0" : "1"};
        record.Set(fields);
        AppendTextModeOutput(log, FormatLogLine(record));
    }
    return log;
}
