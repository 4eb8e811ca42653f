#include "framework/ByteLimitEdit.h"

#include <string>

namespace {
std::string Text(HWND edit) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}
}  // namespace

bool CByteLimitEdit::Attach(HWND edit, size_t limit) {
    m_limit = limit;
    if (!SubclassWindowUnicode(edit))
        return false;
    SendMessageA(edit, EM_LIMITTEXT, limit, 0);
    return true;
}

LRESULT CByteLimitEdit::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_PASTE:
    case EM_REPLACESEL: {
        // The change is made, and taken back when the text no longer fits. The messages come in Unicode; the
        // text is measured in the bytes it is kept in.
        const std::string before = Text(m_hWnd);
        DWORD start = 0, end = 0;
        SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const LRESULT result = Default(msg, wp, lp);
        if (Text(m_hWnd).size() > m_limit) {
            SetWindowTextA(m_hWnd, before.c_str());
            SendMessageA(m_hWnd, EM_SETSEL, start, end);
            MessageBeep(MB_OK);
        }
        return result;
    }
    }
    return CWnd::WindowProc(msg, wp, lp);
}
