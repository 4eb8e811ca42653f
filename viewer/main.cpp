#include <windows.h>

#include "viewer/DialdirPhoneBook.h"
#include "viewer/ViewerApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CViewerApp app;
    CDialdirPhoneBook phoneBook;
    app.SetPhoneBook(&phoneBook);
    return app.Run(instance, commandLine);
}
