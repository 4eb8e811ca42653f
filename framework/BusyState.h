#pragma once
#include <windows.h>

#include "framework/HeldRequests.h"

// Long work in front of the user: the wait cursor on and the window disabled for the scope, and requests from
// outside held until it ends. On leaving, the window is enabled again, mouse and keyboard input that queued up
// for it or its controls meanwhile is thrown away (so no click lands on whatever the work left on screen), the
// keyboard focus goes back to the control that had it (disabling the window took it away, and with it the
// accelerators), and the wait cursor ends. Scopes nest.
class CBusyState {
public:
    explicit CBusyState(HWND window);
    ~CBusyState();
    CBusyState(const CBusyState&) = delete;
    CBusyState& operator=(const CBusyState&) = delete;

    static bool IsBusy() { return s_depth > 0; }

private:
    CWorkScope m_work;
    HWND m_window;
    bool m_wasEnabled;
    HWND m_focus;
    HCURSOR m_previousCursor;
    static inline int s_depth = 0;
};

// Removes the queued mouse (0x200-0x209) and keyboard (0x100-0x108) messages of a window and its children.
void DiscardQueuedInput(HWND window);

// Paints what waits to be painted, and nothing else: what long work calls so that its windows stay drawn while
// no other message is handled.
void PaintPendingWindows();
