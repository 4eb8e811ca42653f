#pragma once
#include "setup/SetupState.h"

// The installer's main window: the splash while it is up, hidden afterwards; its commands are the installation's
// steps, each running the ones after it.
enum SetupStep : UINT {
    kStepHideSplash = 1025,
    kStepMainDialog = 1027,
    kStepCopy = 1028,
    kStepProfile = 1029,
    kStepRegistry = 1030,
    kStepShortcuts = 1031,
    kStepStartPrograms = 1032,
    kStepDone = 1033,
};

constexpr const char* kSetupClass = "LUMENPOST_SETUP";

bool RegisterSetupClass(HINSTANCE instance);
LRESULT CALLBACK SetupWndProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
