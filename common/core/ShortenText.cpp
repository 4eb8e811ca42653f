#include "common/core/ShortenText.h"

#include "framework/core/Mbcs.h"

namespace {
// The ellipsis is measured together with its terminating zero, as the suite's lists always have: a little
// slack that decides where long texts are cut.
constexpr std::string_view kEllipsis = "...";
constexpr std::string_view kEllipsisMeasured{"...", 4};

// End of the first character, or 0 when the text is a lead byte whose trail byte is missing.
size_t FirstCharacterEnd(std::string_view text) {
    return FittingLength(text, CharLength(text, 0));
}
}  // namespace

ShortText ShortenText(std::string_view text, int available, int margin, const TextWidth& width) {
    if (text.empty() || width(text) + margin <= available)
        return {std::string(text), false};

    const int room = available - margin - width(kEllipsisMeasured);
    // Candidate ends lie on character boundaries only, so no lead byte is ever left before the ellipsis.
    size_t kept = FirstCharacterEnd(text);
    for (size_t end = kept; end < text.size();) {
        end += CharLength(text, end);
        if (end >= text.size() || width(text.substr(0, end)) > room)
            break;
        kept = end;
    }
    std::string shortened(text.substr(0, kept));
    shortened += kEllipsis;
    return {std::move(shortened), true};
}
