#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The SZDD format of the distribution disks ("COMPRESS -r"), which lz32 (LZOpenFile, LZCopy) and EXPAND.EXE
// expand: a 14-byte header, then LZSS items over a 4096-byte window of spaces whose writing starts at 0xFF0.
namespace szdd {

inline constexpr size_t kHeaderSize = 14;

// The name a compressed file has on the disk and the byte its header keeps so that GetExpandedName can restore
// the original: "VIEWER.EXE" -> "VIEWER.EX_" keeping 'E'. A name whose extension is shorter than three characters
// gets a '_' appended ("A.B" -> "A.B_", "FOO" -> "FOO._") and keeps '\0', which ends the name where the '_' was.
// Only the part after the last '/', '\\' or ':' counts as the file's name.
struct CompressedName {
    std::string name;
    char lastChar;
};
CompressedName CompressName(std::string_view fileName);

// The whole file compressed: the cheapest parse over the longest matches a bounded search finds.
// The header's length is 32 bits: files of 4 GiB and more are the caller's to refuse.
std::vector<uint8_t> Compress(const uint8_t* data, size_t size, char lastChar);

// The expanded file, or nothing when the header is not SZDD or the stream does not give exactly the header's number
// of bytes: lz32 expands every item of the stream whatever the header says, so a sound file has the two agree.
std::optional<std::vector<uint8_t>> Expand(const uint8_t* data, size_t size);

}  // namespace szdd
