#include "framework/core/PathDisplay.h"

#include <vector>

#include "framework/core/Mbcs.h"

namespace {
// Offsets just after each single-byte backslash.
std::vector<size_t> NameStarts(std::string_view path) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        if (CharLength(path, i) == 1 && path[i] == '\\')
            starts.push_back(i + 1);
    }
    return starts;
}
}  // namespace

std::string AbbreviatePath(std::string_view path, size_t maxLength) {
    if (path.size() <= maxLength)
        return std::string(path);
    const std::vector<size_t> starts = NameStarts(path);
    if (starts.empty())
        return std::string(path);
    const std::string_view name = path.substr(starts.back());
    // The root ends after "C:\" or after "\\server\share\".
    const bool unc = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    const size_t rootNames = unc ? 4 : 1;
    if (starts.size() <= rootNames)
        return std::string(name);
    const std::string root(path.substr(0, starts[rootNames - 1]));
    constexpr std::string_view kEllipsis = "...\\";
    if (root.size() + kEllipsis.size() + name.size() > maxLength)
        return std::string(name);
    // Folders are taken back from the right for as long as they fit.
    size_t tail = starts.back();
    for (size_t i = starts.size() - 1; i > rootNames; --i) {
        const size_t longer = starts[i - 1];
        if (root.size() + kEllipsis.size() + (path.size() - longer) > maxLength)
            break;
        tail = longer;
    }
    return root + std::string(kEllipsis) + std::string(path.substr(tail));
}
