#include <windows.h>

#include "dialdir/Dialdir.h"

// Binds the library at load time through its import library, as the Viewer does: the process only starts when
// every name it imports is one the DLL exports. Exit code 0 when the calls answer as an idle library should.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (PhoneBookDlgDestroy())
        return 1;
    int untouched = 0;
    if (GetNameandPhone(&untouched) != kDialdirNoChoice || untouched != 0)
        return 2;
    return 0;
}
