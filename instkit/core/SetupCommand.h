#pragma once
#include <string>
#include <string_view>

// The vendor setup program re-run at the next logon: which words of an installer's command line name what, and
// the command that the RunOnce entry holds.
namespace instkit {

inline constexpr char kSetupProgram[] = "SETUP";

struct SetupWords {
    std::string word;      // handed on to the setup program
    std::string location;  // where it lives; empty: the most recent install location
};

// The first two blank-separated words.
SetupWords SplitSetupCommandLine(std::string_view commandLine);

// The location with a trailing backslash, unless it is empty or already has one.
std::string WithTrailingBackslash(std::string_view location);

// location\SETUP.EXE /k "word"
std::string SetupCommand(std::string_view location, std::string_view word);

// location\SETUP.EXE
std::string SetupProgramPath(std::string_view location);

// The name of the most recent entry of an "MRUList" value (its first character); empty without one.
std::string MostRecentValueName(std::string_view mruList);

}  // namespace instkit
