#include "companions/watcher/core/Switches.h"

namespace {
bool IsReceiveWord(std::string_view word) {
    constexpr std::string_view kName = "receive";
    if (word.size() != kName.size() + 1 || (word[0] != '/' && word[0] != '-'))
        return false;
    for (size_t i = 0; i < kName.size(); ++i) {
        char c = word[i + 1];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kName[i])
            return false;
    }
    return true;
}
}  // namespace

bool HasReceiveSwitch(std::string_view commandLine) {
    size_t i = 0;
    while (i < commandLine.size()) {
        while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t'))
            ++i;
        size_t end = i;
        while (end < commandLine.size() && commandLine[end] != ' ' && commandLine[end] != '\t')
            ++end;
        std::string_view word = commandLine.substr(i, end - i);
        // A switch may arrive quoted when a script quotes every argument.
        if (word.size() >= 2 && word.front() == '"' && word.back() == '"')
            word = word.substr(1, word.size() - 2);
        if (IsReceiveWord(word))
            return true;
        i = end;
    }
    return false;
}
