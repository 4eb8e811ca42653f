#include <windows.h>

#include "setup/SetupWnd.h"
#include "setup/Splash.h"
#include "setup/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    if (!RegisterSetupClass(instance))
        return 1;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    static SetupState state;
    state.instance = instance;
    char own[MAX_PATH] = {};
    ReadOwnFolder(own);
    bool splash = LoadSplash(state.splash, own);
    HWND window = CreateWindowExA(0, kSetupClass, SetupString(IDS_CAPTION), WS_POPUP, splash ? screenWidth * 4 / 5 : 0,
                                  0, splash ? screenWidth / 5 : 0, splash ? screenHeight / 5 : 0, nullptr, nullptr,
                                  instance, &state);
    if (!window)
        return 1;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
