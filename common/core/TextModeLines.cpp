#include "common/core/TextModeLines.h"

bool NextTextModeLine(std::string_view data, size_t& position, size_t maxBytes, std::string& line) {
    line.clear();
    if (position >= data.size())
        return false;
    while (position < data.size() && line.size() < maxBytes) {
        char c = data[position++];
        if (c == '\r' && position < data.size() && data[position] == '\n')
            c = data[position++];
        line += c;
        if (c == '\n')
            break;
    }
    return true;
}

void AppendTextModeOutput(std::string& out, std::string_view text) {
    for (;;) {
        const size_t feed = text.find('\n');
        if (feed == std::string_view::npos) {
            out += text;
            return;
        }
        out.append(text.data(), feed);
        out += "\r\n";
        text.remove_prefix(feed + 1);
    }
}
