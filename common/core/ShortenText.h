#pragma once
#include <functional>
#include <string>
#include <string_view>

// Fits a list cell's text to its column: the text as it is when it fits with `margin` pixels to spare, else its
// longest prefix of whole characters that fits followed by "...". At least the first character is kept, so even
// the narrowest column shows how the text starts.
struct ShortText {
    std::string text;
    bool shortened = false;
};

// Width in pixels of a run of bytes in the drawing font.
using TextWidth = std::function<int(std::string_view)>;

ShortText ShortenText(std::string_view text, int available, int margin, const TextWidth& width);
