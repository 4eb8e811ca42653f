#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "setup/Install.h"
#include "setup/core/InstallPaths.h"

namespace {

// What the shell is told about one shortcut.
struct ShortcutSpec {
    char target[MAX_PATH];
    char arguments[MAX_PATH];
    char file[MAX_PATH];
    char description[MAX_PATH];
    int showCommand;
    char iconFile[MAX_PATH];
    int iconIndex;
};

template <class T>
struct Released {
    ~Released() {
        if (object)
            object->Release();
    }
    T* object = nullptr;
};

// A setting the shell refuses abandons the shortcut; the description alone is not checked.
bool WriteShortcut(const ShortcutSpec& spec) {
    Released<IShellLinkA> link;
    Released<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.object))) ||
        FAILED(link.object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.object))))
        return false;
    if (FAILED(link.object->SetPath(spec.target)) ||
        (*spec.arguments && FAILED(link.object->SetArguments(spec.arguments))) ||
        FAILED(link.object->SetShowCmd(spec.showCommand)) ||
        FAILED(link.object->SetIconLocation(spec.iconFile, spec.iconIndex)))
        return false;
    link.object->SetDescription(spec.description);
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, spec.file, -1, wide, MAX_PATH))
        return false;
    return SUCCEEDED(file.object->Save(wide, TRUE));
}

bool FillSpec(ShortcutSpec& spec,
              const setup::InstallFileEntry& row,
              const std::string& target,
              const std::string& file,
              const setup::FolderVars& macros) {
    std::string arguments = row.argumentTemplate ? setup::ExpandMacros(row.argumentTemplate, macros) : "";
    spec.showCommand = static_cast<int>(row.showCommand);
    spec.iconIndex = row.iconIndex;
    return CopyText(spec.target, target.c_str()) && CopyText(spec.arguments, arguments.c_str()) &&
           CopyText(spec.file, file.c_str()) && CopyText(spec.description, row.shortcutName) &&
           CopyText(spec.iconFile, target.c_str());
}

void OpenGroupWindow(const SetupState& state, const std::string& group) {
    char commandLine[2 * MAX_PATH + 32];
    if (std::snprintf(commandLine, sizeof commandLine, "%s\\EXPLORER.EXE /n,%s", state.windows, group.c_str()) >=
        static_cast<int>(sizeof commandLine))
        return;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, state.windows, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

// Lets the group's window come up before the next step; another installer holding the semaphore is waited for.
void Pause() {
    HANDLE semaphore = OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, "QRT_WAIT_PROC");
    if (!semaphore)
        semaphore = CreateSemaphoreA(nullptr, 1, 1, "QRT_WAIT_PROC");
    if (!semaphore)
        return;
    WaitForSingleObject(semaphore, INFINITE);
    WaitForSingleObject(semaphore, 1300);
    ReleaseSemaphore(semaphore, 1, nullptr);
    CloseHandle(semaphore);
}

}  // namespace

void MakeShortcuts(const SetupState& state) {
    setup::FolderVars vars = FolderVarsOf(state);
    std::string group = setup::GroupFolder(vars);
    CreateDirectoryA(group.c_str(), nullptr);
    for (size_t i = 0; i < setup::kInstallFileCount; ++i) {
        const setup::InstallFileEntry& row = setup::kInstallFiles[i];
        std::string target = setup::ResolveRow(row, vars).destination;
        for (const setup::ShortcutPlace& place : setup::RowShortcuts(row, vars)) {
            CoInitialize(nullptr);
            ShortcutSpec spec = {};
            if (FillSpec(spec, row, target, place.file, state.macros))
                WriteShortcut(spec);
        }
    }
    OpenGroupWindow(state, group);
    Pause();
}

void StartPrograms(const SetupState& state) {
    setup::FolderVars vars = FolderVarsOf(state);
    for (size_t i = 0; i < setup::kInstallFileCount; ++i) {
        const setup::InstallFileEntry& row = setup::kInstallFiles[i];
        if (!row.run)
            continue;
        setup::RowPaths paths = setup::ResolveRow(row, vars);
        // Quoted, so that a folder with spaces still names the program as its first argument.
        std::string commandLine = "\"" + paths.destination + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(row.showCommand);
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(paths.destination.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           paths.folder.c_str(), &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
}
