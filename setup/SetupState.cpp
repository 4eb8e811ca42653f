#include "setup/SetupState.h"

#include <cstring>
#include <map>
#include <string>

#include "setup/resource.h"

setup::FolderVars FolderVarsOf(const SetupState& state) {
    setup::FolderVars vars;
    vars.windows = state.windows;
    vars.system = state.system;
    vars.programFiles = state.programFiles;
    vars.startup = state.startup;
    vars.programs = state.programs;
    vars.desktop = state.desktop;
    vars.own = state.own;
    vars.source = state.source;
    vars.install = state.install;
    vars.group = state.group;
    return vars;
}

bool CopyText(char* buffer, size_t size, const char* text) {
    size_t length = std::strlen(text);
    if (length >= size)
        return false;
    std::memcpy(buffer, text, length + 1);
    return true;
}

const char* SetupString(UINT id) {
    static std::map<UINT, std::string> loaded;
    auto found = loaded.find(id);
    if (found == loaded.end()) {
        char text[512] = {};
        LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
        found = loaded.emplace(id, text).first;
    }
    return found->second.c_str();
}

int SetupMessage(HWND owner, const char* text, UINT type) {
    return MessageBoxA(owner, text, SetupString(IDS_CAPTION), type);
}

void CentreWindow(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReadOwnFolder(char (&folder)[MAX_PATH]) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    if (char* slash = std::strrchr(path, '\\'))
        *slash = 0;
    CopyText(folder, path);
}
