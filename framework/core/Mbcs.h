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
