#include <windows.h>

#include "contacts/ContactsApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CContactsApp app;
    return app.Run(instance, commandLine);
}
