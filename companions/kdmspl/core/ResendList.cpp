#include "companions/kdmspl/core/ResendList.h"

namespace {
std::string_view Trimmed(std::string_view line) {
    // Path bytes are never below 0x40 in a trail position, so trimming ASCII white space is multi-byte safe.
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    return line;
}
}  // namespace

std::vector<std::string> ParseResendList(std::string_view text) {
    std::vector<std::string> paths;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        if (!line.empty() && line.size() <= kMaxJobPath && line.find('\0') == std::string_view::npos)
            paths.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return paths;
}
