#include "framework/core/TextFormat.h"

#include "framework/core/Mbcs.h"

std::string ReplacePlaceholder1(std::string_view text, std::string_view arg) {
    std::string out;
    out.reserve(text.size() + arg.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            if (text[i + 1] == '1') {
                out.append(arg);
                ++i;
                continue;
            }
            if (text[i + 1] == '%') {
                out.push_back('%');
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::string FilterFromResource(std::string_view filter) {
    std::string out(filter);
    // '|' can be the trail byte of a double-byte character, so walk whole characters.
    for (size_t i = 0; i < out.size(); i += CharLength(out, i)) {
        if (out[i] == '|')
            out[i] = '\0';
    }
    // Guarantee the double NUL terminator whatever the resource ends with.
    out.append(2, '\0');
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (size_t i = 0; i < lower.size();) {
        const size_t n = CharLength(lower, i);
        if (n == 1 && lower[i] >= 'A' && lower[i] <= 'Z')
            lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
        i += n;
    }
    return lower;
}
