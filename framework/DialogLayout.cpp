#include "framework/DialogLayout.h"

#include "framework/BusyState.h"

void PlaceDialogControls(HWND dialog, std::span<const ControlPlace> places, int width, int clientHeight) {
    for (const ControlPlace& p : places)
        MoveWindow(GetDlgItem(dialog, p.id), p.x, p.y, p.cx, p.cy, FALSE);
    RECT window, client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    MoveWindow(dialog, window.left, window.top, width, clientHeight + frameHeight, TRUE);
}

BOOL KeepWaitCursorWhileBusy(HWND dialog) {
    if (IsWindowEnabled(dialog) && !CBusyState::IsBusy())
        return FALSE;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}
