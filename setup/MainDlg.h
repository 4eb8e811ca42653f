#pragma once
#include "setup/SetupState.h"

// "MAIN_DLG": the source folder, the install folder, the program group and the device's port. On OK it writes
// KDM540.INI and creates the install folder; returns 1, or -1 when the user cancelled.
INT_PTR RunMainDialog(SetupState& state);
