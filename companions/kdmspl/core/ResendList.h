#pragma once
#include <string>
#include <string_view>
#include <vector>

// The job list a hand-off leaves beside its copies: one full path per line. A send writes CR LF after every
// path, a print or a resend writes one path with no line end, and a resend of a row without a document writes
// nothing at all. Blank lines and surrounding spaces are dropped; a line too long for a path buffer cannot name
// a file the sender could have written, so it is dropped too rather than cut into some other name.
inline constexpr size_t kMaxJobPath = 259;

std::vector<std::string> ParseResendList(std::string_view text);
