#include "setup/SetupWnd.h"

#include <cstring>

#include "setup/PrinterFolder.h"
#include "setup/Install.h"
#include "setup/MainDlg.h"
#include "setup/Splash.h"
#include "setup/resource.h"

namespace {

// The shell's folders, each the data of the value of that name. Value names are compared without case, as the
// registry does: Wine names the Startup folder's value "StartUp".
void ReadShellFolder(const char* name, char (&folder)[MAX_PATH]) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char valueName[256];
    BYTE data[MAX_PATH];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof valueName;
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        LONG result = RegEnumValueA(key, i, valueName, &nameSize, nullptr, &type, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS && lstrcmpiA(valueName, name) == 0) {
            data[dataSize] = 0;
            CopyText(folder, reinterpret_cast<char*>(data));
            break;
        }
    }
    RegCloseKey(key);
}

void ReadProgramFiles(char (&folder)[MAX_PATH]) {
    DWORD size = MAX_PATH - 1;
    RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", RRF_RT_REG_SZ,
                 nullptr, folder, &size);
}

void ResolveFolders(SetupState& state) {
    GetWindowsDirectoryA(state.windows, MAX_PATH);
    GetSystemDirectoryA(state.system, MAX_PATH);
    ReadProgramFiles(state.programFiles);
    char install[MAX_PATH + 16];
    std::strcpy(install, state.programFiles);
    std::strcat(install, "\\LUMENPOST");
    CopyText(state.install, install);
    ReadShellFolder("Startup", state.startup);
    ReadShellFolder("Desktop", state.desktop);
    ReadShellFolder("Programs", state.programs);
    ReadOwnFolder(state.own);
    CopyText(state.source, state.own);
    CopyText(state.group, "LUMENPOST");
}

bool IsFloppy(const char* source) {
    char root[4] = {source[0], ':', '\\', 0};
    if (GetDriveTypeA(root) != DRIVE_REMOVABLE)
        return false;
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    return GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &clusters) && sectors * bytes < 1536;
}

LRESULT OnCreate(HWND window, SetupState& state) {
    state.window = window;
    CentreWindow(window);
    ShowWindow(window, SW_SHOW);
    ResolveFolders(state);
    state.floppy = IsFloppy(state.source);
    state.disk = 1;
    PrinterFoldarEntryInit();
    if (state.splash.file) {
        int width = state.splash.width, height = state.splash.height;
        SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
        state.splash.palette = MakeSplashPalette(state.splash);
        if (state.splash.palette) {
            HDC dc = GetDC(window);
            SelectPalette(dc, state.splash.palette, FALSE);
            RealizePalette(dc);
            ReleaseDC(window, dc);
        }
        state.splash.timer = SetTimer(window, 1, 3000, nullptr);
    } else {
        state.splash.timer = SetTimer(window, 0, 1, nullptr);
    }
    return 0;
}

// Runs the step and every later one; false stops the chain (the window has been closed).
bool RunStep(HWND window, SetupState& state, UINT step) {
    switch (step) {
    case kStepHideSplash:
        if (state.splash.file)
            SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOZORDER);
        return true;
    case kStepMainDialog:
        if (RunMainDialog(state) == -1) {
            SetupMessage(window, SetupString(IDS_INTERRUPTED), MB_OK);
            DestroyWindow(window);
            return false;
        }
        return true;
    case kStepCopy:
        if (RunCopyDialog(state) == -1) {
            DestroyWindow(window);
            return false;
        }
        return true;
    case kStepProfile:
        ApplyProfileEdits(state);
        return true;
    case kStepRegistry:
        WriteRegistry(state);
        return true;
    case kStepShortcuts:
        MakeShortcuts(state);
        return true;
    case kStepStartPrograms:
        StartPrograms(state);
        return true;
    case kStepDone:
        SetupMessage(window, SetupString(IDS_DONE), MB_OK | MB_TOPMOST);
        DestroyWindow(window);
        return false;
    }
    return true;
}

void RunChain(HWND window, SetupState& state, UINT from) {
    for (UINT step = from; step <= kStepDone; ++step) {
        if (!RunStep(window, state, step))
            return;
    }
}

void OnPaint(HWND window, const SetupState& state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintSplash(state.splash, dc);
    EndPaint(window, &paint);
}

}  // namespace

bool RegisterSetupClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SetupWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "SHOWICON");
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kSetupClass;
    return RegisterClassA(&windowClass) != 0;
}

LRESULT CALLBACK SetupWndProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<SetupState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        state = static_cast<SetupState*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        return OnCreate(window, *state);
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_TIMER:
        KillTimer(window, wp);
        PostMessageA(window, WM_COMMAND, kStepHideSplash, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) >= kStepHideSplash && LOWORD(wp) <= kStepDone) {
            RunChain(window, *state, LOWORD(wp));
            return 0;
        }
        break;
    case WM_DESTROY:
        FreeSplash(state->splash);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wp, lp);
}
