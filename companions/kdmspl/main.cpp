#include <windows.h>

#include "companions/kdmspl/KdmsplApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CKdmsplApp app;
    return app.Run(instance, commandLine);
}
