#include "instkit/core/RenameSection.h"

#include <cstring>

namespace instkit {

std::string RenameLine(const char* destination, std::string_view source) {
    const std::string_view target = destination ? std::string_view(destination) : std::string_view("NUL");
    if (target.size() > kRenamePathLimit || source.size() > kRenamePathLimit)
        return {};
    std::string line;
    line.reserve(target.size() + source.size() + 3);
    line.append(target).append("=").append(source).append("\r\n");
    return line;
}

size_t InsertRenameLine(char* text, size_t size, std::string_view line) {
    // The file may hold NULs: the header is searched over its bytes, not as a C string.
    const std::string_view file(text, size);
    const size_t header = file.find(kRenameHeader);
    size_t insertAt;
    if (header == std::string_view::npos) {
        std::memcpy(text + size, kRenameHeader.data(), kRenameHeader.size());
        size += kRenameHeader.size();
        insertAt = size;
    } else {
        // Just past the header's own line feed: the new line heads the section.
        insertAt = file.find('\n', header) + 1;
        std::memmove(text + insertAt + line.size(), text + insertAt, size - insertAt);
    }
    std::memcpy(text + insertAt, line.data(), line.size());
    return size + line.size();
}

}  // namespace instkit
