#pragma once
#include <windows.h>

#include <cstddef>

#include "framework/Window.h"

// A single-line edit box that takes no more bytes of the ANSI code page than its limit, however the text comes
// in (typed, pasted, from an input method). The edit control's own limit counts characters under Wine, so a box
// of 64 bytes would take 64 Chinese characters, 128 bytes, which a record then cuts without a word: input that
// would not fit is refused as it is typed.
class CByteLimitEdit : public CWnd {
public:
    bool Attach(HWND edit, size_t limit);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    size_t m_limit = 0;
};
