#pragma once
#include <windows.h>

// The top-level windows of another process, for the tools that start and time programs.
HWND FindVisibleWindowOf(DWORD pid);
void CloseWindowsOf(DWORD pid);

// Ends a started program: asks its windows to close, then terminates it if it has not ended within waitMs.
void EndProgram(const PROCESS_INFORMATION& pi, DWORD waitMs);
