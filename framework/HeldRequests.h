#pragma once
#include <windows.h>

#include <functional>

// Requests that start new work from outside the work in hand (another start's hand-over, a DDE open, a close)
// never run inside it. Long work, and every modal loop that work runs (message boxes, dialogs, the spooler's
// wait), is a work scope. A request that arrives while one is open is held; once the last scope has closed,
// the held requests run in arrival order from the next message their window receives, when nothing of the
// finished work is left on the stack.
class CWorkScope {
public:
    CWorkScope();
    ~CWorkScope();
    CWorkScope(const CWorkScope&) = delete;
    CWorkScope& operator=(const CWorkScope&) = delete;

    // The number of scopes open now.
    static int Depth();
};

// Runs `request` at once when no work is under way and nothing is held; otherwise holds it. A request whose
// window is gone by the time it would run is dropped.
void RunOrHold(HWND window, std::function<void()> request);

// Holds `request` even when nothing is under way: it runs from the window's next message, so that whoever
// asked for it is answered first (another process waiting in SendMessage, say).
void RunLater(HWND window, std::function<void()> request);

// For a window procedure's request messages: true when the message was held, and the procedure returns at
// once; the message is sent to the window again when it may run.
bool HoldRequest(HWND window, UINT msg, WPARAM wp, LPARAM lp);

// The message that runs the held requests; the framework's window procedures pass it to RunHeldRequests.
UINT RunHeldRequestsMessage();
void RunHeldRequests();
