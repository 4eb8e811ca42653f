#include "companions/remover/RemoverApp.h"

#include <windows.h>

#include <string>
#include <vector>

#include "companions/remover/Uninstaller.h"
#include "companions/remover/core/UninstallPlan.h"
#include "companions/remover/resource.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
const char kSettingsKey[] = "Software\\Orvex\\mirolo\\Settings";
// Lines of each list in the final message; a message box taller than the screen hides its button.
constexpr size_t kShownItems = 10;

int Show(const std::string& text, UINT type) {
    return AppMessageBox(nullptr, text, LoadResString(IDS_CAPTION), type);
}

enum class Stored { kRead, kMissing, kDamaged };

Stored ReadValue(HKEY key, const char* name, std::vector<uint8_t>& bytes) {
    DWORD type = 0;
    DWORD size = 0;
    const LSTATUS status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return Stored::kMissing;
    if (status != ERROR_SUCCESS || type != REG_BINARY || size > remover::kMaxValueSize)
        return Stored::kDamaged;
    bytes.resize(size);
    if (size > 0 && RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
        return Stored::kDamaged;
    bytes.resize(size);
    return Stored::kRead;
}

// Both values are read whole before anything is removed: one of the records deletes the key that holds them.
// Returns the message that explains why there is nothing to remove, or 0.
UINT ReadRecords(std::vector<setup::UninstallRecord>& records) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return IDS_NO_DATA;
    std::vector<uint8_t> info, data;
    const Stored infoRead = ReadValue(key, "UnInstall Info", info);
    const Stored dataRead = ReadValue(key, "UnInstall Data", data);
    RegCloseKey(key);
    if (infoRead == Stored::kMissing && dataRead == Stored::kMissing)
        return IDS_NO_DATA;
    if (infoRead != Stored::kRead || dataRead != Stored::kRead)
        return IDS_DATA_DAMAGED;
    remover::UninstallData read = remover::ReadUninstallData(info, data);
    switch (read.fault) {
    case remover::DataFault::kNone:
        records = std::move(read.records);
        return 0;
    case remover::DataFault::kNoCount:
        return IDS_DATA_DAMAGED;
    case remover::DataFault::kNoRecords:
        return IDS_DATA_EMPTY;
    case remover::DataFault::kCountBeyondData:
        return IDS_DATA_SHORT;
    }
    return IDS_DATA_DAMAGED;
}

void AppendList(std::string& text, UINT heading, const std::vector<std::string>& items) {
    if (items.empty())
        return;
    if (!text.empty())
        text += "\n\n";
    text += LoadResString(heading);
    for (size_t i = 0; i < items.size() && i < kShownItems; ++i)
        text += "\n" + items[i];
    if (items.size() > kShownItems)
        text += "\n" + FormatResString(IDS_MORE, std::to_string(items.size() - kShownItems));
}

std::string Trimmed(const char* text) {
    std::string trimmed = text ? text : "";
    trimmed.erase(0, trimmed.find_first_not_of(" \t"));
    trimmed.erase(trimmed.find_last_not_of(" \t") + 1);
    return trimmed;
}
}  // namespace

int RunRemover(const char* commandLine) {
    const std::string argument = Trimmed(commandLine);
    if (!argument.empty() && lstrcmpiA(argument.c_str(), "/R") != 0) {
        Show(FormatResString(IDS_BAD_SWITCH, argument), MB_OK | MB_ICONEXCLAMATION);
        return kNothingDone;
    }
    std::vector<setup::UninstallRecord> records;
    if (const UINT problem = ReadRecords(records)) {
        Show(LoadResString(problem), MB_OK | MB_ICONEXCLAMATION);
        return kNothingDone;
    }
    if (Show(LoadResString(IDS_CONFIRM), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return kDeclined;

    CUninstaller uninstaller;
    uninstaller.Remove(records);
    // Programs that keep WIN.INI or the document types in memory read them again.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);

    std::string text = uninstaller.Failed().empty() ? LoadResString(IDS_DONE) : std::string();
    AppendList(text, IDS_NOT_REMOVED, uninstaller.Failed());
    AppendList(text, IDS_AT_RESTART, uninstaller.AtRestart());
    AppendList(text, IDS_KEPT, uninstaller.Kept());
    Show(text, MB_OK | (uninstaller.Failed().empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    return uninstaller.Failed().empty() ? kRemovedAll : kSomeLeft;
}
