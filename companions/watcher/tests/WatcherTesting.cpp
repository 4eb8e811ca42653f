#include "companions/watcher/tests/WatcherTesting.h"

#include <algorithm>
#include <cctype>

#include "common/LogFile.h"
#include "common/core/LogDate.h"
#include "common/core/LogLine.h"
#include "common/core/SuiteFolders.h"
#include "framework/testing/TempFolder.h"
#include "common/core/SmhWriter.h"

std::string SampleFax(uint32_t pages, const std::string& stationName, const std::string& stationNumber) {
    SmhFileHeader header = MakeSmhHeader(pages);
    header.SetStationName(stationName);
    header.SetStationNumber(stationNumber);
    std::vector<SmhPageSpec> specs;
    for (uint32_t i = 0; i < pages; ++i)
        specs.emplace_back(std::vector<uint8_t>(40 + i, static_cast<uint8_t>(0x11 * (i + 1))));
    const std::vector<uint8_t> bytes = BuildSmhDocument(header, specs);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<ReceiveLogRecord> ReadPendingRecords(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    std::vector<ReceiveLogRecord> records;
    size_t position = 0;
    std::string line;
    while (NextLogLine(bytes, position, ReceiveLogLayout(), line)) {
        ReceiveLogRecord record;
        ParseLogLine(line, record);
        if (!IsLogHeader(record))
            records.push_back(record);
    }
    return records;
}

bool IsStampedName(const std::string& name, const std::string& extension) {
    if (name.size() < 15 + extension.size() || name[0] != 'R' ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        return false;
    for (size_t i = 1; i < 15; ++i) {
        if (!isdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    const std::string rest = name.substr(15, name.size() - 15 - extension.size());
    if (rest.empty())
        return true;
    return rest.size() >= 2 && rest[0] == '_' &&
           std::all_of(rest.begin() + 1, rest.end(), [](char c) { return isdigit(static_cast<unsigned char>(c)); });
}

int64_t NowSeconds() {
    return LogDateSeconds(CurrentLogTime());
}
