#include <windows.h>

#include "logbook/LogbookApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CLogbookApp app;
    return app.Run(instance, commandLine);
}
