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
