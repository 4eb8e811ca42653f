#pragma once
#include <windows.h>

// The phone book library's exports, C calling convention with undecorated names. Results are arrays of 228-byte
// address records (phone at 0, name at 33, address at 98, remarks at 163). The DLL itself exports through its
// .def file and defines DIALDIR_API empty.
#ifndef DIALDIR_API
#define DIALDIR_API __declspec(dllimport)
#endif

// Status codes of OpenPhone, GetNameandPhone and GetAddressInfo.
enum DialdirStatus {
    kDialdirOk = 0,
    kDialdirNoChoice = 1,      // the dialog was not closed with OK, or nothing is pending
    kDialdirCannotAlloc = 2,   // "不能分配全局存贮器"
    kDialdirCannotLock = 3,    // "存贮不能锁定"
    kDialdirCannotUnlock = 4,  // "存贮不能解除锁定"
    kDialdirCannotFree = 5,    // "不能释放全局存贮器"
};

extern "C" {

// Shows the phone book; on OK keeps the chosen entries for GetNameandPhone and sets *count.
DIALDIR_API int __cdecl OpenPhone(int* count);
// Copies the entries kept by the last successful OpenPhone into count × 228 bytes and releases them. Without a
// pending result nothing is copied and 1 is returned.
DIALDIR_API int __cdecl GetNameandPhone(void* buffer);
// Shows the phone book; on OK hands over a new unlocked block of *count records with name and phone only.
DIALDIR_API int __cdecl GetAddressInfo(HGLOBAL* block, int* count);
// Shows the phone book for browsing and editing: 1 for OK, 2 for Cancel, -1 when it could not be shown.
DIALDIR_API int __cdecl PhoneBookDlgModal(HWND parent);
// The phone book as a modeless child of `parent`; non-zero on success.
DIALDIR_API BOOL __cdecl PhoneBookDlgCreate(HWND parent);
// Destroys the modeless phone book; 0 when there was none.
DIALDIR_API BOOL __cdecl PhoneBookDlgDestroy(void);
}
