#include <windows.h>

// Loading and unloading set nothing up: the lists and flags start empty with the process.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
