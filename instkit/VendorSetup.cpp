#include <windows.h>

#include <string>

#include "framework/Handles.h"
#include "instkit/Instkit.h"
#include "instkit/core/SetupCommand.h"

using namespace instkit;

namespace {
constexpr char kMruKey[] = "InstallLocationsMRU";
constexpr char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kRunOnceValue[] = "ZKSETUP";
constexpr char kInstallDriver[] = "\\Zk2inst.drv";
constexpr DWORD kValueBuffer = 256;

// A string value of at most kValueBuffer bytes; empty without it.
std::string ReadText(HKEY key, const char* name) {
    char text[kValueBuffer + 1] = {};
    DWORD type = 0;
    DWORD size = kValueBuffer;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return std::string(text, strnlen(text, size));
}

std::string MostRecentLocation() {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMruKey, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return {};
    CRegKey key(raw);
    const std::string name = MostRecentValueName(ReadText(raw, "MRUList"));
    return name.empty() ? std::string() : ReadText(raw, name.c_str());
}

void DeleteInstallDriverAtRestart() {
    char system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        ReplaceFileOnReboot(nullptr, (std::string(system) + kInstallDriver).c_str());
}
}  // namespace

extern "C" void WINAPI SelectSetup(HWND, HINSTANCE, LPSTR commandLine, int) {
    try {
        DeleteInstallDriverAtRestart();
        SetupWords words = SplitSetupCommandLine(commandLine ? commandLine : "");
        if (words.location.empty())
            words.location = MostRecentLocation();
        const std::string command = SetupCommand(words.location, words.word);

        HKEY raw = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunOnceKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &raw, nullptr) != ERROR_SUCCESS)
            return;
        CRegKey key(raw);
        // With its terminating NUL, as a string value must be stored for every reader to find its end.
        RegSetValueExA(raw, kRunOnceValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    } catch (const std::bad_alloc&) {
    }
}

extern "C" void WINAPI SelectVendorSetup(HWND, HINSTANCE, LPSTR commandLine, int) {
    try {
        DWORD printerId = 0;
        UnInstallPrinter(commandLine, &printerId);
        DeleteInstallDriverAtRestart();
        const std::string location = MostRecentLocation();
        if (location.empty())
            return;
        const std::string program = SetupProgramPath(location);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOW;
        PROCESS_INFORMATION process{};
        std::string commandLineCopy = "\"" + program + "\"";
        if (CreateProcessA(program.c_str(), commandLineCopy.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    } catch (const std::bad_alloc&) {
    }
}

extern "C" DWORD __cdecl GetDefaultLangID(void) {
    return GetUserDefaultLangID();
}
