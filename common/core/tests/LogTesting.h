#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/LogRecord.h"

// Code page 936 text spelt out, so that the bytes do not depend on the compiler's character set.
inline const std::string kZhang = "\xD5\xC5";          // 张
inline const std::string kCeShi = "\xB2\xE2\xCA\xD4";  // 测试

template <typename Record>
Record MakeRecord(std::initializer_list<std::string_view> fields) {
    Record record;
    const std::vector<std::string_view> texts(fields);
    record.Set(texts);
    return record;
}

inline ReceiveLogRecord Received(std::string_view from,
                                 std::string_view date,
                                 std::string_view file = "",
                                 std::string_view read = "0") {
    return MakeRecord<ReceiveLogRecord>({from, "OK", date, "1", file, read});
}
