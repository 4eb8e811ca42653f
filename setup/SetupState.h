#pragma once
#include <windows.h>

#include <cstdint>

#include "setup/core/InstallPaths.h"

// The installer's run state: one instance for the life of the process, handed to every step.
struct Splash {
    HGLOBAL file = nullptr;  // the whole OPENING.BMP
    int16_t width = 0;
    int16_t height = 0;
    HPALETTE palette = nullptr;
    UINT_PTR timer = 0;  // 1 with a splash, 0 without
};

struct SetupState {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    char windows[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    char programFiles[MAX_PATH] = {};
    char startup[MAX_PATH] = {};
    char programs[MAX_PATH] = {};
    char desktop[MAX_PATH] = {};
    char own[MAX_PATH] = {};
    char source[MAX_PATH] = {};
    char install[MAX_PATH] = {};
    char group[MAX_PATH] = {};
    int port = 1;
    bool floppy = false;
    uint16_t disk = 1;
    uint16_t copyRow = 0;
    Splash splash;
    // The argument macros' values, fixed when the main dialog is confirmed.
    setup::FolderVars macros;
};

setup::FolderVars FolderVarsOf(const SetupState& state);

// Copies text into a fixed buffer; false (and the buffer unchanged) when it does not fit.
bool CopyText(char* buffer, size_t size, const char* text);
template <size_t N>
bool CopyText(char (&buffer)[N], const char* text) {
    return CopyText(buffer, N, text);
}

void CentreWindow(HWND window);
// The folder of Setup's own executable, without the trailing backslash.
void ReadOwnFolder(char (&folder)[MAX_PATH]);

// The installer's own texts.
const char* SetupString(UINT id);
int SetupMessage(HWND owner, const char* text, UINT type);
