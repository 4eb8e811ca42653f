#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The rename section of the Windows folder's "WinInit.Ini", which the system carries out and empties when it
// starts: each line "destination=source" moves a file, "NUL=source" deletes one.
namespace instkit {

inline constexpr std::string_view kRenameHeader = "[Rename]\r\n";

// The longest path either side of a rename line may have: what the system's start-up processing can open.
inline constexpr size_t kRenamePathLimit = 259;

// "destination=source\r\n", or "NUL=source\r\n" without a destination; empty when either path is longer than
// the system would accept.
std::string RenameLine(const char* destination, std::string_view source);

// Room the file needs beyond its own bytes to take `line`: the line and, at most, a new header.
inline size_t RenameRoom(std::string_view line) {
    return line.size() + kRenameHeader.size();
}

// Edits the file's bytes in place: the line becomes the first line of the rename section, the older lines follow
// it; without a section, the header and the line go at the end. `text` holds `size` bytes of the file and at
// least RenameRoom(line) bytes beyond them. Returns the new size.
size_t InsertRenameLine(char* text, size_t size, std::string_view line);

}  // namespace instkit
