#pragma once
#include <cstddef>
#include <string_view>

// The one seam to the multi-byte code page. Natively it follows code page 936 (lead bytes 0x81-0xFE);
// the Windows build asks the system's ANSI code page.
bool IsLeadByte(unsigned char c);

// Length of the character starting at text[i]: 2 for a lead byte followed by another byte, else 1.
inline size_t CharLength(std::string_view text, size_t i) {
    return (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// The longest prefix of at most `limit` bytes that holds whole characters only: it never splits a double-byte
// character, and a lead byte that ends the text without its trail byte is left out too.
inline size_t FittingLength(std::string_view text, size_t limit) {
    size_t length = 0;
    while (length < text.size()) {
        if (IsLeadByte(static_cast<unsigned char>(text[length])) && length + 1 == text.size())
            break;
        const size_t next = length + CharLength(text, length);
        if (next > limit)
            break;
        length = next;
    }
    return length;
}

// Equal but for the case of single-byte letters; double-byte characters compare byte for byte, so a trail byte
// that happens to be a letter is never folded.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size();) {
        const size_t length = CharLength(a, i);
        if (length != CharLength(b, i))
            return false;
        if (length == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else {
            const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
            if (fold(a[i]) != fold(b[i]))
                return false;
        }
        i += length;
    }
    return true;
}
