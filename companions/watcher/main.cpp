#include <windows.h>

#include "companions/watcher/WatcherApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CWatcherApp app;
    return app.Run(instance, commandLine);
}
