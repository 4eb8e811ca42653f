#include "common/core/AddressOrder.h"

#include "framework/core/Mbcs.h"

namespace {
unsigned CharValue(std::string_view text, size_t i, size_t length) {
    const unsigned first = static_cast<unsigned char>(text[i]);
    return length == 2 ? first << 8 | static_cast<unsigned char>(text[i + 1]) : first;
}
}  // namespace

int CompareMbcs(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const size_t la = CharLength(a, i), lb = CharLength(b, j);
        const unsigned ca = CharValue(a, i, la), cb = CharValue(b, j, lb);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        i += la;
        j += lb;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}
