#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/core/InstallTables.h"

// Where each row of the install table goes, where it comes from, and the argument macros.
namespace setup {

// The folder variables, without trailing backslashes.
struct FolderVars {
    std::string windows;
    std::string system;
    std::string programFiles;
    std::string startup;
    std::string programs;
    std::string desktop;
    std::string own;
    std::string source;
    std::string install;
    std::string group;  // the program group's name
};

struct RowPaths {
    std::string folder;       // the destination folder
    std::string destination;  // empty for a folder row
    std::string source;       // empty for a folder row
};

RowPaths ResolveRow(const InstallFileEntry& row, const FolderVars& vars);

// Every prefix of a path at its backslashes, shortest first, the path itself last: the folders to create in turn.
std::vector<std::string> FolderChain(std::string_view path);

// Group folder = Programs folder\group name.
std::string GroupFolder(const FolderVars& vars);

// One shortcut of a row: its folder and its file path (folder\name.lnk).
struct ShortcutPlace {
    uint16_t flag;
    std::string file;
};
// The row's shortcuts in the order group, desktop, Startup.
std::vector<ShortcutPlace> RowShortcuts(const InstallFileEntry& row, const FolderVars& vars);

// Expands "%Name" macros; a "%" before no known name ends the expansion there.
std::string ExpandMacros(std::string_view text, const FolderVars& vars);

// The source folder with its trailing "Disk<current>" (by length) replaced by "Disk<wanted>".
std::string SwitchDiskFolder(std::string_view source, unsigned current, unsigned wanted);

// The longest text written into a fixed field (260-byte paths, the uninstall record's 128-byte path) that this
// install would produce, if any exceeds its field: the installer refuses such folders before writing anything.
std::optional<std::string> TooLongPath(const FolderVars& vars);

// The install folder as the user entered it, without trailing backslashes ("D:\" stays a root).
std::string TrimFolder(std::string_view folder);

}  // namespace setup
