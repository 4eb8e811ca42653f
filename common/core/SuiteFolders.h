#pragma once
#include <functional>
#include <string>
#include <string_view>

// The suite's four folders and its help file, read once at start-up by every interactive program.
struct SuiteSettings {
    std::string recvFolder;
    std::string logFolder;
    std::string tempFolder;
    std::string programFolder;
    std::string helpPath;
};

// The settings values, in the order they are read.
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kSuiteFolderValues[4] = {"RECVFLD_DIR", "LOG_DIR", "TEMP_DIR", "PROGRAM_DIR"};

// Reads the four folders in order with `read(valueName)`, storing each as it is read, and stops at the first
// one that is empty: that one and all after it stay empty and are not read. Returns the name of the value
// that stopped it, or null when all four are there (the help path is then set too).
const char* ReadSuiteFolders(const std::function<std::string(const char*)>& read, SuiteSettings& settings);

// A file in a folder: "\" goes between them unless the folder already ends in one.
std::string FileInFolder(const std::string& folder, const std::string& fileName);

// The help file lies directly after the program folder's text, with no separator added.
std::string HelpPathFor(const std::string& programFolder);

// A name that stays inside the folder it is joined to: not empty, no "\" or "/" character (a double-byte
// character's second byte is part of that character, whatever its value), no drive ":", and not "." or "..".
bool IsPlainFileName(std::string_view name);
