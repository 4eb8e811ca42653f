#include "instkit/core/BrowseTexts.h"

#include "framework/core/Mbcs.h"

namespace instkit {

BrowseTexts SplitBrowseTexts(std::string_view data) {
    // The delimiter is the last whole character.
    size_t last = 0;
    for (size_t i = 0; i < data.size(); i += CharLength(data, i))
        last = i;
    BrowseTexts texts;
    if (data.empty())
        return texts;
    const std::string_view delimiter = data.substr(last);
    std::string* const slots[] = {&texts.title, &texts.ok, &texts.cancel};
    size_t start = 0;
    for (size_t i = 0; i < data.size() && texts.count < 3;) {
        const size_t length = CharLength(data, i);
        if (data.substr(i, length) == delimiter) {
            *slots[texts.count++] = std::string(data.substr(start, i - start));
            start = i + length;
        }
        i += length;
    }
    return texts;
}

}  // namespace instkit
