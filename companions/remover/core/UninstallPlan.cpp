#include "companions/remover/core/UninstallPlan.h"

#include "framework/core/Mbcs.h"
#include "framework/core/TextFormat.h"

namespace remover {

namespace {
bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The names in a path from `at` on, split at whole single-byte separators.
std::vector<std::string> SplitNames(std::string_view path, size_t at) {
    std::vector<std::string> names(1);
    while (at < path.size()) {
        const size_t length = CharLength(path, at);
        if (length == 1 && IsSeparator(path[at]))
            names.emplace_back();
        else
            names.back().append(path.substr(at, length));
        at += length;
    }
    return names;
}

// The names of a path after its root, "C:\" or "\\server\share\"; false when the path has no such root.
bool NamesBelowRoot(std::string_view path, std::vector<std::string>& names) {
    const bool drive = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]) &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (drive) {
        names = SplitNames(path, 3);
        return true;
    }
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return false;
    std::vector<std::string> parts = SplitNames(path, 2);
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty())
        return false;
    names.assign(parts.begin() + 2, parts.end());
    return true;
}

bool IsBelowRoot(std::string_view path) {
    std::vector<std::string> names;
    if (!NamesBelowRoot(path, names))
        return false;
    bool named = false;
    for (const std::string& name : names) {
        if (name == "." || name == "..")
            return false;
        named = named || !name.empty();
    }
    return named;
}
}  // namespace

UninstallData ReadUninstallData(const std::vector<uint8_t>& info, const std::vector<uint8_t>& data) {
    UninstallData result;
    if (info.size() < 2) {
        result.fault = DataFault::kNoCount;
        return result;
    }
    const size_t count = info[0] | info[1] << 8;
    if (count == 0)
        result.fault = DataFault::kNoRecords;
    else if (data.size() / setup::kUninstallRecordSize < count)
        result.fault = DataFault::kCountBeyondData;
    else
        result.records = setup::DecodeUninstallValues(info, data);
    return result;
}

bool IsUsableRecord(const setup::UninstallRecord& record) {
    switch (record.type) {
    case setup::kUninstallFile:
    case setup::kUninstallFolder:
        return IsBelowRoot(record.path);
    case setup::kUninstallIniEntry:
        return IsBelowRoot(record.path) && !record.section.empty();
    case setup::kUninstallIniSection:
        return !record.path.empty();
    case setup::kUninstallRegistryKey:
        return !record.path.empty() && !IsSeparator(record.path[0]) &&
               (record.root == setup::kClassesRoot || record.root == setup::kCurrentUser ||
                record.root == setup::kLocalMachine);
    default:
        return false;
    }
}

bool IsUserDataFile(std::string_view name) {
    const std::string lower = LowerAscii(name);
    const auto endsWith = [&](std::string_view extension) {
        return lower.size() > extension.size() &&
               lower.compare(lower.size() - extension.size(), extension.size(), extension) == 0;
    };
    return endsWith(".csv") || endsWith(".smh");
}

std::string FolderOf(std::string_view path) {
    size_t end = std::string_view::npos;
    for (size_t at = 0; at < path.size(); at += CharLength(path, at)) {
        if (IsSeparator(path[at]))
            end = at;
    }
    return end == std::string_view::npos ? std::string() : std::string(path.substr(0, end));
}

std::string WithoutTrailingSeparators(std::string_view path) {
    size_t end = 0;
    for (size_t at = 0; at < path.size(); at += CharLength(path, at)) {
        if (!IsSeparator(path[at]))
            end = at + CharLength(path, at);
    }
    return std::string(path.substr(0, end));
}

}  // namespace remover
