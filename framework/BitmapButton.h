#pragma once
#include "framework/Handles.h"
#include "framework/Window.h"

#include <string>

// An owner-drawn push button showing one of its bitmaps per state. The bitmaps are named by the button's
// caption plus a state letter: U up, D down (pressed), F focused, X disabled; only U is required. Every press
// is a click, however quickly it follows the one before.
class CBitmapButton : public CWnd {
public:
    // Subclasses the dialog's control, loads its bitmaps by caption and sizes it to the up bitmap.
    bool AutoLoad(UINT id, HWND parent);
    bool LoadBitmaps(const std::string& baseName);
    void SizeToContent();

    BOOL OnDrawItemReflect(const DRAWITEMSTRUCT& dis) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    CBitmapHandle m_up, m_down, m_focus, m_disabled;
};
