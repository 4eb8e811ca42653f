#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/CmdTarget.h"
#include "framework/Handles.h"

// A row of picture buttons that send commands. Buttons take the images of one resource strip in order;
// separators (id 0) keep a gap, and a separator with an id and width is a slot that a control can cover.
// Tooltips show the text after "\n" of the command's string, flyby help the text before it.
class CToolBar {
public:
    // Where the bar sits: along one of the frame's sides, or in a small window of its own.
    enum class Side { kTop, kBottom, kLeft, kRight, kFloating };
    // The commands that move the bar (its context menu); the frame handles them.
    static constexpr UINT kDockTopCommand = 0xE810;
    static constexpr UINT kDockBottomCommand = 0xE811;
    static constexpr UINT kDockLeftCommand = 0xE812;
    static constexpr UINT kDockRightCommand = 0xE813;
    static constexpr UINT kFloatCommand = 0xE814;

    struct Slot {
        UINT id;    // command, or 0 for a separator
        int width;  // separators only: 0 for the standard gap
    };

    bool Create(HWND frame, UINT bitmapId, int imageWidth, int imageHeight, const std::vector<Slot>& slots);
    HWND Hwnd() const { return m_hwnd; }
    CToolBar();
    ~CToolBar();
    CToolBar(const CToolBar&) = delete;
    CToolBar& operator=(const CToolBar&) = delete;

    Side DockSide() const { return m_side; }
    bool IsVertical() const { return m_side == Side::kLeft || m_side == Side::kRight; }
    // Moves the bar; the frame lays itself out again afterwards. Commands keep going to the frame.
    void Dock(Side side);
    // The bar's extent across its side (height along top and bottom, width along left and right), 0 when it
    // floats or is hidden.
    int Thickness() const;
    // Places a docked bar along its side of the frame's client area `client`.
    void Place(const RECT& client) const;

    // Rectangle of the button or slot at `index`, in the toolbar's client coordinates.
    RECT ItemRect(int index) const;
    int IndexOf(UINT id) const;
    // A control covering the slot `slotId`: docked at a side, where it does not fit a column of buttons, the
    // bar goes without it and its slot; along the top or bottom it sits in its slot, `topOffset` down.
    void FitSlotControl(UINT slotId, HWND control, int topOffset) const;

    // Sets each button's enabled and checked state from the command's rule, as `route` finds it; a command
    // nobody knows is disabled.
    void UpdateButtons(const std::function<bool(CCmdUI&)>& route) const;
    // The tooltip text of a command (string `id` after "\n").
    static std::string TipText(UINT id);

private:
    class CFloatingWindow;
    SIZE ButtonsSize() const;

    HWND m_hwnd = nullptr;
    HWND m_frame = nullptr;
    std::vector<Slot> m_slots;
    Side m_side = Side::kTop;
    HWND m_float = nullptr;
    std::unique_ptr<CFloatingWindow> m_floatWindow;
};

// The text shown in the status bar for a command: its string up to "\n".
std::string CommandPrompt(UINT id);
