#include "instkit/core/SetupCommand.h"

#include "framework/core/Mbcs.h"

namespace instkit {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view NextWord(std::string_view text, size_t& position) {
    while (position < text.size() && IsBlank(text[position]))
        ++position;
    const size_t start = position;
    while (position < text.size() && !IsBlank(text[position]))
        position += CharLength(text, position);
    return text.substr(start, position - start);
}
}  // namespace

SetupWords SplitSetupCommandLine(std::string_view commandLine) {
    size_t position = 0;
    SetupWords words;
    words.word = NextWord(commandLine, position);
    words.location = NextWord(commandLine, position);
    return words;
}

std::string WithTrailingBackslash(std::string_view location) {
    std::string path(location);
    // A double-byte character's second byte may be 0x5C: only a whole single-byte character counts.
    size_t last = 0;
    for (size_t i = 0; i < path.size(); i += CharLength(path, i))
        last = i;
    if (!path.empty() && !(last == path.size() - 1 && path[last] == '\\'))
        path += '\\';
    return path;
}

std::string SetupCommand(std::string_view location, std::string_view word) {
    return SetupProgramPath(location) + " /k \"" + std::string(word) + "\"";
}

std::string SetupProgramPath(std::string_view location) {
    return WithTrailingBackslash(location) + kSetupProgram + ".EXE";
}

std::string MostRecentValueName(std::string_view mruList) {
    return mruList.empty() ? std::string() : std::string(1, mruList.front());
}

}  // namespace instkit
