// Starts a program inside the screenshot desktop, tells the screenshot script when its window is up and
// painted, and ends the program once the picture is taken.
//   ShotRun.exe READY-FILE PROGRAM [ARGS...]
// READY-FILE is created when the window shows; the script deletes it after the capture. Before that, the
// actions in MIROLO_SHOT_ACTIONS (separated by ';') are applied to the window's controls, to show a state:
//   click:ID:X:Y        a left click at client point X,Y of the control ID
//   width:ID:COLUMN:CX  list-view column COLUMN of the control ID made CX pixels wide
//   post:MSG:WP:LP      message MSG posted to the window (e.g. 273:ID:0 for a command)
//   text:ID:TEXT        the text of the control ID set
//   window:CAPTION      the actions that follow go to the program's window of that caption (e.g. a dialog it
//                       opened); the picture is still of the whole desktop
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
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
struct CaptionSearch {
    DWORD pid;
    const char* caption;
    int control;  // instead of the caption: a window holding a control of this id
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM lp) {
    auto* s = reinterpret_cast<CaptionSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    const bool matches = s->control ? GetDlgItem(window, s->control) != nullptr : strcmp(text, s->caption) == 0;
    if (owner == s->pid && IsWindowVisible(window) && matches)
        s->found = window;
    return s->found == nullptr;
}

// The program's visible top-level window with this caption (or control), waited for while the program opens it.
HWND WaitForTarget(DWORD pid, const char* caption, int control) {
    CaptionSearch search{pid, caption, control, nullptr};
    for (int i = 0; i < 250 && !search.found; ++i) {
        EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(20);
    }
    return search.found;
}

void ApplyAction(HWND& window, DWORD pid, const std::string& action) {
    int id = 0, a = 0, b = 0, at = 0;
    if (action.rfind("window:", 0) == 0) {
        if (HWND found = WaitForTarget(pid, action.c_str() + 7, 0))
            window = found;
        return;
    }
    if (sscanf(action.c_str(), "control:%d", &id) == 1) {
        if (HWND found = WaitForTarget(pid, "", id))
            window = found;
        return;
    }
    if (sscanf(action.c_str(), "text:%d:%n", &id, &at) == 1 && at > 0) {
        SetDlgItemTextA(window, id, action.c_str() + at);
        return;
    }
    if (sscanf(action.c_str(), "click:%d:%d:%d", &id, &a, &b) == 3) {
        HWND control = GetDlgItem(window, id);
        PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a, b));
        PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(a, b));
    } else if (sscanf(action.c_str(), "post:%d:%d:%d", &id, &a, &b) == 3) {
        PostMessageA(window, static_cast<UINT>(id), static_cast<WPARAM>(a), static_cast<LPARAM>(b));
    } else if (sscanf(action.c_str(), "width:%d:%d:%d", &id, &a, &b) == 3) {
        SendMessageA(GetDlgItem(window, id), LVM_SETCOLUMNWIDTH, a, b);
    }
}

void ApplyActions(HWND window, HANDLE process, DWORD pid) {
    const char* actions = getenv("MIROLO_SHOT_ACTIONS");
    if (!actions)
        return;
    std::string rest = actions;
    while (!rest.empty()) {
        const size_t end = rest.find(';');
        ApplyAction(window, pid, rest.substr(0, end));
        rest = end == std::string::npos ? "" : rest.substr(end + 1);
        WaitForInputIdle(process, 5000);
        Sleep(100);
    }
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
    ApplyActions(window, pi.hProcess, pi.dwProcessId);
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
