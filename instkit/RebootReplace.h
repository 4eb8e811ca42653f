#pragma once
#include <windows.h>

// Files replaced or deleted at the next restart: by the system's delayed move, or where that is refused, through
// the rename section of the Windows folder's "WinInit.Ini".
namespace instkit {

using DelayedMove = BOOL(WINAPI*)(LPCSTR source, LPCSTR destination, DWORD flags);

// `move` is the system's MoveFileExA; tests hand in one that refuses.
DWORD ScheduleReplace(DelayedMove move, LPCSTR destination, LPCSTR source);

}  // namespace instkit
