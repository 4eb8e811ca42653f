#include "common/SpoolerHandOff.h"

#include <cstdio>

#include "common/CommonResources.h"
#include "common/core/SuiteFolders.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
constexpr UINT kWaitMs = 2000;
constexpr UINT_PTR kWaitTimer = 0x4B44;  // "KD"
constexpr DWORD kSpoolerReadyMs = 60000;

void ExclaimJobList(HWND owner, UINT id) {
    AppMessageBox(owner, FormatResString(id, kJobListName), MB_OK | MB_ICONEXCLAMATION);
}

bool g_waitDone = false;

void CALLBACK OnWaitTimer(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    g_waitDone = true;
}

// Gives the spooler time to read the list while the window stays alive.
void WaitKeepingWindowAlive(HWND mainWindow) {
    g_waitDone = false;
    const UINT_PTR timer = SetTimer(mainWindow, kWaitTimer, kWaitMs, &OnWaitTimer);
    if (!timer) {
        Sleep(kWaitMs);
        return;
    }
    MSG msg;
    while (!g_waitDone && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (!g_waitDone)
        PostQuitMessage(static_cast<int>(msg.wParam));  // the loop that asked to end must see it
}
}  // namespace

bool WriteJobList(HWND owner, const std::string& list, const std::string& text, bool append) {
    FILE* file = fopen(list.c_str(), append ? "at" : "wt");
    if (!file) {
        ExclaimJobList(owner, IDS_CANNOT_OPEN);
        return false;
    }
    const bool written = text.empty() || fputs(text.c_str(), file) >= 0;
    const bool closed = fclose(file) == 0;
    if (!written)
        return false;
    if (!closed) {
        ExclaimJobList(owner, IDS_CANNOT_CLOSE);
        return false;
    }
    return true;
}

namespace {
void ClearReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}
}  // namespace

bool RemoveHandOffCopy(const std::string& copy) {
    ClearReadOnly(copy);
    return DeleteFileA(copy.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool MakeHandOffCopy(const std::string& document, const std::string& copy) {
    if (!RemoveHandOffCopy(copy) || !CopyFileA(document.c_str(), copy.c_str(), TRUE))
        return false;
    ClearReadOnly(copy);
    return true;
}

void StartSpooler() {
    char system[256] = {};
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system)
        return;
    const std::string program = FileInFolder(system, "kdmspl.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &process))
        return;
    WaitForInputIdle(process.hProcess, kSpoolerReadyMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void HandToSpooler(HWND mainWindow) {
    WaitKeepingWindowAlive(mainWindow);
    SendMessageA(HWND_BROADCAST, RegisterWindowMessageA(kResendMessageName), 0, 0);
}
