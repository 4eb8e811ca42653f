#include <windows.h>

#include "companions/remover/RemoverApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    return RunRemover(commandLine);
}
