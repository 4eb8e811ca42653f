#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Runs the installer as a user does: waits for its main dialog, fills in what differs from its defaults, presses
// OK and answers every message it shows, until it ends.
struct SetupAnswers {
    std::string source;  // empty: keep what the dialog shows
    std::string install;
    std::string group;
    int port = 0;                   // 1-3; 0 keeps LPT1
    bool overwrite = false;         // the answer to "overwrite?" questions
    bool cancel = false;            // press Cancel in the main dialog instead
    bool cancelDiskPrompts = true;  // a request for another disk is cancelled
};

struct SetupOutcome {
    bool started = false;
    bool sawMainDialog = false;
    bool ended = false;
    DWORD exitCode = 0;
    std::vector<std::string> messages;  // the texts of the message boxes, in order
    std::vector<ULONGLONG> messageMs;   // when each came, counted from pressing OK in the main dialog
    ULONGLONG copyShownMs = 0;          // when the copy dialog was first seen and when it had gone, likewise
    ULONGLONG copyClosedMs = 0;
};

SetupOutcome DriveSetup(const std::string& setupExe, const SetupAnswers& answers, DWORD timeoutMs = 120000);

// The installer's main dialog of the process, or null.
HWND FindSetupDialog(DWORD pid);

// A message box the process shows, or null; and its text.
HWND FindMessageBox(DWORD pid);
std::string MessageBoxText(HWND box);

// Waits for a message box of the process, presses the button and returns the box's text ("" when none came).
std::string AnswerMessageBox(DWORD pid, int button, DWORD timeoutMs = 30000);
