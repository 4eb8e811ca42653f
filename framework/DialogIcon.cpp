#include "framework/DialogIcon.h"

#include "framework/Handles.h"

void SetDialogIcons(HWND dialog, HICON icon) {
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool PaintMinimisedIcon(HWND dialog, HICON icon) {
    if (!IsIconic(dialog))
        return false;
    CPaintDc dc(dialog);
    SendMessageA(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    RECT r;
    GetClientRect(dialog, &r);
    const int x = (r.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (r.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.Get(), x, y, icon);
    return true;
}
