#include "setup/core/InstallPaths.h"

#include <array>
#include <cstdio>

#include "setup/core/UninstallRecord.h"

namespace setup {

namespace {

std::string Join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += '\\';
    path += name;
    return path;
}

std::string BaseFolder(uint16_t code, const FolderVars& vars) {
    switch (code & ~3u) {
    case kFolderInstall:
        return vars.install;
    case kFolderDrivers:
        return vars.system + "\\DRIVERS";
    case kFolderTwain16:
        return vars.windows + "\\TWAIN";
    case kFolderTwain32:
        return vars.windows + "\\Twain_32";
    case kFolderSystem:
        return vars.system;
    case kFolderWindows:
        return vars.windows;
    }
    return {};
}

const std::string* ShortcutFolder(uint16_t flag, const FolderVars& vars) {
    switch (flag) {
    case kShortcutGroup:
        return nullptr;
    case kShortcutDesktop:
        return &vars.desktop;
    case kShortcutStartup:
        return &vars.startup;
    }
    return nullptr;
}

}  // namespace

RowPaths ResolveRow(const InstallFileEntry& row, const FolderVars& vars) {
    RowPaths paths;
    paths.folder = BaseFolder(row.folderCode, vars);
    if ((row.folderCode & kFolderSubfolder) && row.subfolder)
        paths.folder = Join(paths.folder, row.subfolder);
    if (!row.installedName)
        return paths;
    paths.destination = Join(paths.folder, row.installedName);
    paths.source = Join(vars.source, row.compressed ? row.sourceName : row.installedName);
    return paths;
}

std::vector<std::string> FolderChain(std::string_view path) {
    std::vector<std::string> chain;
    for (size_t at = path.find('\\'); at != std::string_view::npos; at = path.find('\\', at + 1)) {
        // "C:" alone is no folder to create; a UNC or rooted path's empty first part neither.
        if (at > 0 && path[at - 1] != ':' && path[at - 1] != '\\')
            chain.emplace_back(path.substr(0, at));
    }
    if (!path.empty() && path.back() != '\\')
        chain.emplace_back(path);
    return chain;
}

std::string GroupFolder(const FolderVars& vars) {
    return Join(vars.programs, vars.group);
}

std::vector<ShortcutPlace> RowShortcuts(const InstallFileEntry& row, const FolderVars& vars) {
    std::vector<ShortcutPlace> places;
    for (uint16_t flag : {kShortcutGroup, kShortcutDesktop, kShortcutStartup}) {
        if (!(row.shortcutFlags & flag))
            continue;
        const std::string* folder = ShortcutFolder(flag, vars);
        std::string name = std::string(row.shortcutName ? row.shortcutName : "") + ".lnk";
        places.push_back({flag, Join(folder ? *folder : GroupFolder(vars), name)});
    }
    return places;
}

std::string ExpandMacros(std::string_view text, const FolderVars& vars) {
    const std::array<std::pair<std::string_view, std::string>, 13> macros{{
        {"%", "%"},
        {"WinPath", vars.windows},
        {"SysPath", vars.system},
        {"DrvPath", vars.system + "\\DRIVERS"},
        {"Tw32Path", vars.windows + "\\Twain_32"},
        {"Tw16Path", vars.windows + "\\TWAIN"},
        {"InstPath", vars.install},
        {"ExecPath", vars.own},
        {"StartUpPath", vars.startup},
        {"MenuPath", vars.programs},
        {"DeskTopPath", vars.desktop},
        {"ProgramPath", vars.programFiles},
        {"InstGrp", vars.group},
    }};
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] != '%') {
            out += text[at++];
            continue;
        }
        std::string_view rest = text.substr(at + 1);
        const std::pair<std::string_view, std::string>* found = nullptr;
        for (const auto& macro : macros) {
            if (rest.starts_with(macro.first)) {
                found = &macro;
                break;
            }
        }
        if (!found)
            break;
        out += found->second;
        at += 1 + found->first.size();
    }
    return out;
}

std::string SwitchDiskFolder(std::string_view source, unsigned current, unsigned wanted) {
    char tail[16];
    size_t replaced = static_cast<size_t>(std::snprintf(tail, sizeof tail, "Disk%u", current));
    std::snprintf(tail, sizeof tail, "Disk%u", wanted);
    std::string switched(source.substr(0, source.size() > replaced ? source.size() - replaced : 0));
    return switched + tail;
}

std::optional<std::string> TooLongPath(const FolderVars& vars) {
    constexpr size_t kPath = 259;
    std::optional<std::string> worst;
    auto check = [&](const std::string& text, size_t limit) {
        if (text.size() > limit && (!worst || text.size() > worst->size()))
            worst = text;
    };
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        const InstallFileEntry& row = kInstallFiles[i];
        RowPaths paths = ResolveRow(row, vars);
        const std::string& recorded = paths.destination.empty() ? paths.folder : paths.destination;
        check(recorded, row.uninstall ? kUninstallPathChars : kPath);
        if (!paths.source.empty())
            check(paths.source, kPath);
        if (row.argumentTemplate)
            check(ExpandMacros(row.argumentTemplate, vars), kPath);
        for (const ShortcutPlace& place : RowShortcuts(row, vars))
            check(place.file, row.uninstall ? kUninstallPathChars : kPath);
    }
    check(GroupFolder(vars), kUninstallPathChars);
    check(vars.install + "\\REMOVER.EXE /R", kPath);
    return worst;
}

std::string TrimFolder(std::string_view folder) {
    while (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':')
        folder.remove_suffix(1);
    return std::string(folder);
}

}  // namespace setup
