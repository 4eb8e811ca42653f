#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The suite's text files are written and read the way the C runtime's text mode does it, so files stay
// byte-compatible with the device's own programs that write and read them that way.

// Appends text as text-mode output writes it: every line feed becomes carriage return and line feed.
void AppendTextModeOutput(std::string& out, std::string_view text);

// Reads the next line of a file's bytes as text-mode input does (CR LF becomes LF), in pieces of at most
// `maxBytes` bytes including the line feed: the rest of a longer line is the next piece. False at the end.
bool NextTextModeLine(std::string_view data, size_t& position, size_t maxBytes, std::string& line);
