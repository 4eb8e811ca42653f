#define DIALDIR_API
#include "dialdir/Dialdir.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <vector>

#include "dialdir/DialdirApp.h"
#include "dialdir/PhoneBookDlg.h"
#include "dialdir/resource.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
constexpr SIZE_T kRecordSize = sizeof(AddressRecord);

std::unique_ptr<CDialdirApp> g_app;

// The records of the last successful OpenPhone, kept locked until GetNameandPhone takes them.
struct PendingResult {
    HGLOBAL block = nullptr;
    AddressRecord* records = nullptr;
    int count = 0;
};
PendingResult g_pending;

// Every modeless dialog made, the last one the one PhoneBookDlgDestroy ends: one made earlier is no longer the
// caller's, but its window must still go before the library's code does.
std::vector<std::unique_ptr<CPhoneBookDlg>> g_modeless;

void Report(UINT stringId) {
    AppMessageBox(nullptr, LoadResString(stringId), MB_OK | MB_ICONEXCLAMATION);
}

// Unlocks until the block's lock count is zero; ERROR_NOT_LOCKED after the last unlock is the normal end.
bool UnlockCompletely(HGLOBAL block) {
    SetLastError(ERROR_SUCCESS);
    while (GlobalUnlock(block)) {
    }
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS || error == ERROR_NOT_LOCKED;
}

// Allocates and locks a block for `count` records; on failure the block is gone and the status says why.
int AllocateLocked(int count, HGLOBAL& block, AddressRecord*& records) {
    block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DISCARDABLE, kRecordSize * static_cast<SIZE_T>(count));
    if (!block) {
        Report(IDS_CANNOT_ALLOCATE);
        return kDialdirCannotAlloc;
    }
    records = static_cast<AddressRecord*>(GlobalLock(block));
    if (!records) {
        GlobalFree(block);
        block = nullptr;
        Report(IDS_CANNOT_LOCK);
        return kDialdirCannotLock;
    }
    return kDialdirOk;
}

void ReleasePending() {
    if (g_pending.block) {
        UnlockCompletely(g_pending.block);
        GlobalFree(g_pending.block);
    }
    g_pending = {};
}

void CopyField(char* to, const char* from) {
    std::strcpy(to, from);
}
}  // namespace

// A caller's null pointer is refused with status 1, as a dialog that did not open: nothing is shown or written.
extern "C" int __cdecl OpenPhone(int* count) {
    if (!count)
        return kDialdirNoChoice;
    std::unique_ptr<CPhoneBookDlg> dialog = std::make_unique<CPhoneBookDlg>(*g_app);
    if (dialog->DoModal(nullptr) != IDOK || dialog->ResultCount() < 1)
        return kDialdirNoChoice;
    const int n = dialog->ResultCount();
    HGLOBAL block = nullptr;
    AddressRecord* records = nullptr;
    if (const int status = AllocateLocked(n, block, records); status != kDialdirOk)
        return status;
    std::memcpy(records, dialog->Result(), kRecordSize * static_cast<size_t>(n));
    // One pending result only: one that was never collected is released rather than lost.
    ReleasePending();
    g_pending = {block, records, n};
    *count = n;
    return kDialdirOk;
}

extern "C" int __cdecl GetNameandPhone(void* buffer) {
    if (!g_pending.block || !buffer)
        return kDialdirNoChoice;
    const PendingResult pending = g_pending;
    g_pending = {};
    // Field by field as strings: the caller's bytes after each terminator stay as they were.
    auto* to = static_cast<AddressRecord*>(buffer);
    for (int i = 0; i < pending.count; ++i) {
        CopyField(to[i].phone, pending.records[i].phone);
        CopyField(to[i].name, pending.records[i].name);
        CopyField(to[i].address, pending.records[i].address);
        CopyField(to[i].remarks, pending.records[i].remarks);
    }
    if (!UnlockCompletely(pending.block)) {
        GlobalFree(pending.block);
        Report(IDS_CANNOT_UNLOCK);
        return kDialdirCannotUnlock;
    }
    SetLastError(ERROR_SUCCESS);
    if (GlobalFree(pending.block) && GetLastError() != ERROR_SUCCESS) {
        Report(IDS_CANNOT_FREE);
        return kDialdirCannotFree;
    }
    return kDialdirOk;
}

extern "C" int __cdecl GetAddressInfo(HGLOBAL* block, int* count) {
    if (!block || !count)
        return kDialdirNoChoice;
    std::unique_ptr<CPhoneBookDlg> dialog = std::make_unique<CPhoneBookDlg>(*g_app);
    if (dialog->DoModal(nullptr) != IDOK || dialog->ResultCount() < 1)
        return kDialdirNoChoice;
    const int n = dialog->ResultCount();
    AddressRecord* records = nullptr;
    if (const int status = AllocateLocked(n, *block, records); status != kDialdirOk)
        return status;
    for (int i = 0; i < n; ++i)
        dialog->ResultEntry(i, records[i].name, records[i].phone, nullptr, nullptr);
    *count = n;
    if (!UnlockCompletely(*block)) {
        GlobalFree(*block);
        *block = nullptr;
        Report(IDS_CANNOT_UNLOCK);
        return kDialdirCannotUnlock;
    }
    return kDialdirOk;
}

extern "C" int __cdecl PhoneBookDlgModal(HWND parent) {
    CPhoneBookDlg dialog(*g_app);
    return static_cast<int>(dialog.DoModal(parent));
}

extern "C" BOOL __cdecl PhoneBookDlgCreate(HWND parent) {
    auto dialog = std::make_unique<CPhoneBookDlg>(*g_app);
    HWND hwnd = dialog->Create(parent);
    if (!hwnd)
        return FALSE;
    ShowWindow(hwnd, SW_SHOW);
    g_modeless.push_back(std::move(dialog));
    return TRUE;
}

extern "C" BOOL __cdecl PhoneBookDlgDestroy(void) {
    if (g_modeless.empty())
        return FALSE;
    // The object's destructor destroys the window if OK or Cancel has not already done so.
    g_modeless.pop_back();
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        g_app = std::make_unique<CDialdirApp>(module);
        break;
    }
    case DLL_PROCESS_DETACH:
        // Unloaded by FreeLibrary, not at process end: no window may outlive the code of its procedure.
        if (!reserved) {
            g_modeless.clear();
            ReleasePending();
        } else {
            // The process is ending and its windows with it: nothing may be destroyed from here.
            for (std::unique_ptr<CPhoneBookDlg>& dialog : g_modeless)
                dialog.release();
        }
        g_app.reset();
        break;
    }
    return TRUE;
}
