#pragma once
#include <string>
#include <string_view>

// Replaces every "%1" in a message text with the argument. "%%" stands for a literal percent sign.
// In code page 936 a trail byte is never 0x25, so the scan is safe on multi-byte text.
std::string ReplacePlaceholder1(std::string_view text, std::string_view arg);

// Turns a resource filter "Doc Files (*.doc)|*.doc||" into the NUL-separated form the file dialogs take,
// ending in two NULs. Double-byte characters are kept whole.
std::string FilterFromResource(std::string_view filter);

// ASCII capitals lowered, double-byte characters left whole: a trail byte may look like a capital letter. For
// comparing file names without regard to case.
std::string LowerAscii(std::string_view text);
