#pragma once

// How a run ended, as the exit code, for whoever started it.
enum RemoverExit : int {
    kRemovedAll = 0,   // everything listed is gone, or goes at the next restart
    kDeclined = 1,     // the user answered No: nothing changed
    kSomeLeft = 2,     // some things could not be removed; the final message names them
    kNothingDone = 3,  // no usable uninstall data, or an unknown switch: nothing changed
};

// The uninstaller's one run: "/R" (the uninstall registration's switch) or nothing; it asks before it removes.
int RunRemover(const char* commandLine);
