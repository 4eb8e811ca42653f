#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/CmdTarget.h"
#include "framework/Handles.h"

// A row of picture buttons that send commands. Buttons take the images of one resource strip in order;
// separators (id 0) keep a gap, and a separator with an id and width is a slot that a control can cover.
// Tooltips show the text after "\n" of the command's string, flyby help the text before it.
class CToolBar {
public:
    struct Slot {
        UINT id;    // command, or 0 for a separator
        int width;  // separators only: 0 for the standard gap
    };

    bool Create(HWND frame, UINT bitmapId, int imageWidth, int imageHeight, const std::vector<Slot>& slots);
    HWND Hwnd() const { return m_hwnd; }

    // Rectangle of the button or slot at `index`, in the toolbar's client coordinates.
    RECT ItemRect(int index) const;
    int IndexOf(UINT id) const;

    // Sets each button's enabled and checked state from the command's rule, as `route` finds it; a command
    // nobody knows is disabled.
    void UpdateButtons(const std::function<bool(CCmdUI&)>& route) const;
    // The tooltip text of a command (string `id` after "\n").
    static std::string TipText(UINT id);

private:
    HWND m_hwnd = nullptr;
    std::vector<Slot> m_slots;
};

// The text shown in the status bar for a command: its string up to "\n".
std::string CommandPrompt(UINT id);
