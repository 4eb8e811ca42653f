#include "common/core/SuiteFolders.h"

#include "framework/core/Mbcs.h"

namespace {
// A trailing 0x5C may be the second byte of a double-byte character, which is no backslash.
bool EndsInBackslash(const std::string& text) {
    bool last = false;
    for (size_t i = 0; i < text.size(); i += CharLength(text, i))
        last = text[i] == '\\' && CharLength(text, i) == 1;
    return last;
}
}  // namespace

const char* ReadSuiteFolders(const std::function<std::string(const char*)>& read, SuiteSettings& settings) {
    std::string* targets[4] = {&settings.recvFolder, &settings.logFolder, &settings.tempFolder,
                               &settings.programFolder};
    for (int i = 0; i < 4; ++i) {
        *targets[i] = read(kSuiteFolderValues[i]);
        if (targets[i]->empty())
            return kSuiteFolderValues[i];
    }
    settings.helpPath = HelpPathFor(settings.programFolder);
    return nullptr;
}

std::string FileInFolder(const std::string& folder, const std::string& fileName) {
    return EndsInBackslash(folder) ? folder + fileName : folder + "\\" + fileName;
}

std::string HelpPathFor(const std::string& programFolder) {
    return programFolder + "Mirolo.hlp";
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    // Whole characters: the second byte of a double-byte character may have the value of "\\" and is none.
    for (size_t i = 0; i < name.size(); i += CharLength(name, i)) {
        if (CharLength(name, i) == 1 && (name[i] == '\\' || name[i] == '/' || name[i] == ':'))
            return false;
    }
    return true;
}
