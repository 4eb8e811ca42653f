// An untrusted "RESEND.TMP": parsing never overruns, every path it gives could name a file the sender wrote,
// and the paths written back as a send list read back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "companions/kdmspl/core/ResendList.h"

namespace {
void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> paths = ParseResendList(list);

    size_t lines = 1;
    for (char c : list)
        lines += c == '\n';
    Check(paths.size() <= lines);

    std::string written;
    size_t searchFrom = 0;
    for (const std::string& path : paths) {
        Check(!path.empty() && path.size() <= kMaxJobPath);
        Check(path.find('\0') == std::string::npos && path.find('\n') == std::string::npos);
        Check(!Blank(path.front()) && !Blank(path.back()));
        // Taken from the list as it stands, in list order.
        const size_t at = list.find(path, searchFrom);
        Check(at != std::string_view::npos);
        searchFrom = at + path.size();
        written += path + "\r\n";
    }
    Check(ParseResendList(written) == paths);
    return 0;
}
