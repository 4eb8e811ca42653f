// What installers and files hand the library: a "WinInit.Ini" of any bytes with a rename line added, the
// dialog's delimited texts, a setup command line and a driver's name list. None may overrun, and the rename edit
// keeps every byte the file had.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "instkit/core/BrowseTexts.h"
#include "instkit/core/GroupName.h"
#include "instkit/core/RenameSection.h"
#include "instkit/core/SetupCommand.h"
#include "instkit/core/SpoolerLists.h"

namespace {
void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

void CheckRenameEdit(std::string_view file, const std::string& source) {
    const std::string line = instkit::RenameLine(nullptr, source);
    std::string buffer(file);
    buffer.resize(file.size() + instkit::RenameRoom(line));
    buffer.resize(instkit::InsertRenameLine(buffer.data(), file.size(), line));
    // Taking the line out again, and the header when the edit added it, gives the file back.
    const bool hadSection = file.find(instkit::kRenameHeader) != std::string_view::npos;
    const size_t header = buffer.find(instkit::kRenameHeader, hadSection ? 0 : file.size());
    Check(header != std::string::npos);
    const size_t at = header + instkit::kRenameHeader.size();
    Check(buffer.compare(at, line.size(), line) == 0);
    buffer.erase(at, line.size());
    if (!hadSection)
        buffer.erase(header, instkit::kRenameHeader.size());
    Check(buffer == file);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.empty() ? 0 : static_cast<unsigned char>(input[0]) % (input.size() + 1);
    CheckRenameEdit(input.substr(0, split), std::string(input.substr(split, 40)));

    const instkit::BrowseTexts texts = instkit::SplitBrowseTexts(input);
    Check(texts.count >= 0 && texts.count <= 3);
    Check(texts.title.size() + texts.ok.size() + texts.cancel.size() <= input.size());

    const instkit::SetupWords words = instkit::SplitSetupCommandLine(input);
    Check(words.word.size() + words.location.size() <= input.size());
    instkit::SetupCommand(words.location, words.word);
    instkit::IsGroupName(input);

    for (std::string_view name : instkit::SplitNameList(input.data(), input.data() + input.size()))
        Check(name.data() >= input.data() && name.data() + name.size() <= input.data() + input.size());
    return 0;
}
