#include <windows.h>

#include "launcher/LauncherApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CLauncherApp app;
    return app.Run(instance, commandLine);
}
