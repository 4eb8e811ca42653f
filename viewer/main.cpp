#include <windows.h>

#include "viewer/ViewerApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CViewerApp app;
    return app.Run(instance, commandLine);
}
