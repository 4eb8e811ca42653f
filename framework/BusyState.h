#pragma once
#include <windows.h>

// Long work in front of the user: the wait cursor on and the window disabled for the scope. On leaving, the
// window is enabled again, mouse and keyboard input that queued up for it or its controls meanwhile is thrown
// away (so no click lands on whatever the work left on screen), and the wait cursor ends. Scopes nest.
class CBusyState {
public:
    explicit CBusyState(HWND window);
    ~CBusyState();
    CBusyState(const CBusyState&) = delete;
    CBusyState& operator=(const CBusyState&) = delete;

    static bool IsBusy() { return s_depth > 0; }

private:
    HWND m_window;
    bool m_wasEnabled;
    HCURSOR m_previousCursor;
    static inline int s_depth = 0;
};

// Removes the queued mouse (0x200-0x209) and keyboard (0x100-0x108) messages of a window and its children.
void DiscardQueuedInput(HWND window);
