#pragma once
#include "setup/SetupState.h"

// The installer's steps after the main dialog, in the order the main window runs them.

// Every folder along the path; existing ones and failures are passed over.
void CreateFolderChain(const char* path);
void WriteKdm540Ini(const SetupState& state);

// "FILE_COPY_DLG": copies the table's rows one per message. 1 when all were copied, -1 when one failed (its
// message has been shown).
INT_PTR RunCopyDialog(SetupState& state);

void ApplyProfileEdits(const SetupState& state);
// The suite's settings, the document type, the uninstall registration and the uninstall data.
void WriteRegistry(const SetupState& state);
// The program group with its shortcuts and the desktop and Startup ones; a window on the group; the pause.
void MakeShortcuts(const SetupState& state);
void StartPrograms(const SetupState& state);

// Tells every top-level window that settings changed; section names the WIN.INI section, or null.
void BroadcastSettingChange(const char* section);
