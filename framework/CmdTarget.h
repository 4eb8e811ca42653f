#pragma once
#include <windows.h>

// Menu items and toolbar buttons are commands: numbers routed from the view through the document and the frame
// to the application until one handles them. Before a menu drops down and whenever the program is idle, each
// visible command is asked for its state the same way; a command nobody knows is shown disabled.

// The state a command's rule sets for its menu item or button.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_id(id) {}
    UINT Id() const { return m_id; }
    void Enable(bool on = true) { m_enabled = on; }
    void SetCheck(bool on = true) { m_checked = on; }
    bool Enabled() const { return m_enabled; }
    bool Checked() const { return m_checked; }

private:
    UINT m_id;
    bool m_enabled = true;
    bool m_checked = false;
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // True when this target handled the command.
    virtual bool OnCommand(UINT /*id*/) { return false; }
    // True when this target knows the command; it then sets its state (enabled unless the rule says otherwise).
    virtual bool OnUpdateCommand(CCmdUI& /*ui*/) { return false; }
};
