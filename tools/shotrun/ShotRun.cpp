// Starts a program inside the screenshot desktop, tells the screenshot script when its window is up and
// painted, and ends the program once the picture is taken.
//   ShotRun.exe READY-FILE PROGRAM [ARGS...]
// READY-FILE is created when the window shows; the script deletes it after the capture.
#include <windows.h>

#include <string>

#include "tools/process/ProcessWindows.h"

namespace {
HWND WaitForWindow(DWORD pid, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND found = FindVisibleWindowOf(pid))
            return found;
        Sleep(20);
    }
    return nullptr;
}

// The command line after the first two words, quoting kept as typed.
const char* RestAfterWords(const char* line, int words) {
    for (int w = 0; w < words; ++w) {
        while (*line == ' ' || *line == '\t')
            ++line;
        bool quoted = false;
        while (*line && (quoted || (*line != ' ' && *line != '\t'))) {
            if (*line == '"')
                quoted = !quoted;
            ++line;
        }
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* line = GetCommandLineA();
    std::string ready(RestAfterWords(line, 1), RestAfterWords(line, 2));
    while (!ready.empty() && (ready.back() == ' ' || ready.back() == '"'))
        ready.pop_back();
    if (!ready.empty() && ready.front() == '"')
        ready.erase(0, 1);
    std::string command = RestAfterWords(line, 2);
    if (ready.empty() || command.empty())
        return 2;

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 3;
    WaitForInputIdle(pi.hProcess, 10000);
    HWND window = WaitForWindow(pi.dwProcessId, 20000);
    if (!window) {
        TerminateProcess(pi.hProcess, 1);
        return 4;
    }
    // Let the program finish its first paint before the picture is taken.
    WaitForInputIdle(pi.hProcess, 5000);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    HANDLE file = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);

    for (int i = 0; i < 600 && GetFileAttributesA(ready.c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(50);
    EndProgram(pi, 5000);
    return 0;
}
