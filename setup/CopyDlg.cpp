#include <windows.h>
// After windows.h, whose types it uses.
#include <lzexpand.h>

#include <cstdio>
#include <string>

#include "setup/Install.h"
#include "setup/core/InstallPaths.h"
#include "setup/resource.h"

namespace {

constexpr UINT kCopyRow = WM_USER + 10;
constexpr UINT kAllCopied = WM_USER + 11;

void ShowError(HWND owner, int code) {
    std::string text = SetupString(IDS_INCOMPLETE);
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        text += SetupString(IDS_NOT_FOUND);
        break;
    case ERROR_PATH_NOT_FOUND:
        text += SetupString(IDS_BAD_PATH);
        break;
    case ERROR_TOO_MANY_OPEN_FILES:
        text += SetupString(IDS_TOO_MANY_FILES);
        break;
    case ERROR_ACCESS_DENIED:
        text += SetupString(IDS_ACCESS_DENIED);
        break;
    }
    SetupMessage(owner, text.c_str(), MB_OK);
}

bool CanRead(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A floppy holds the byte of its number in "DiskId"; asks for the disk until it is in or the user gives up.
bool CheckDisk(HWND owner, const SetupState& state, unsigned disk) {
    for (;;) {
        char idPath[MAX_PATH + 8];
        std::snprintf(idPath, sizeof idPath, "%s\\DiskId", state.source);
        HANDLE file = CreateFileA(idPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            unsigned char id = 0;
            DWORD read = 0;
            bool same = ReadFile(file, &id, 1, &read, nullptr) && read == 1 && id == disk;
            CloseHandle(file);
            if (same)
                return true;
        }
        char text[128];
        std::snprintf(text, sizeof text, SetupString(IDS_INSERT_DISK), static_cast<int>(disk));
        if (SetupMessage(owner, text, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
            SetupMessage(owner, SetupString(IDS_INCOMPLETE), MB_OK);
            return false;
        }
    }
}

// Expands beside the destination and then replaces it, so that a failure part way (a full disk, a damaged
// source) never leaves a truncated file where a working one was.
bool ExpandRow(HWND owner, const std::string& source, const std::string& destination) {
    OFSTRUCT sourceInfo = {};
    INT from = LZOpenFileA(const_cast<char*>(source.c_str()), &sourceInfo, OF_READ | OF_SHARE_DENY_WRITE);
    if (from < 0) {
        ShowError(owner, sourceInfo.nErrCode);
        return false;
    }
    std::string partial = destination + ".$$$";
    OFSTRUCT destinationInfo = {};
    INT to = LZOpenFileA(const_cast<char*>(partial.c_str()), &destinationInfo, OF_CREATE | OF_WRITE);
    if (to < 0) {
        LZClose(from);
        ShowError(owner, destinationInfo.nErrCode);
        return false;
    }
    LONG expected = LZSeek(from, 0, 2);
    LZSeek(from, 0, 0);
    LONG copied = LZCopy(from, to);
    LZClose(from);
    LZClose(to);
    // A truncated stream expands short without an error of its own.
    bool whole = copied >= 0 && copied == expected;
    DWORD error = ERROR_SUCCESS;
    if (whole && !MoveFileExA(partial.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING))
        error = GetLastError();
    if (!whole || error != ERROR_SUCCESS) {
        DeleteFileA(partial.c_str());
        ShowError(owner, static_cast<int>(error));
        return false;
    }
    return true;
}

void CopyPlainRow(HWND owner, const std::string& source, const std::string& destination) {
    if (CopyFileA(source.c_str(), destination.c_str(), TRUE) || GetLastError() != ERROR_FILE_EXISTS)
        return;
    if (MessageBoxA(owner, SetupString(IDS_OVERWRITE), SetupString(IDS_COPY_TITLE), MB_YESNO | MB_ICONQUESTION) ==
        IDYES)
        CopyFileA(source.c_str(), destination.c_str(), FALSE);
}

void ShowPaths(HWND dialog, const setup::RowPaths& paths) {
    SetDlgItemTextA(dialog, IDC_COPY_SOURCE_LABEL, SetupString(IDS_SOURCE));
    SetDlgItemTextA(dialog, IDC_COPY_TARGET_LABEL, SetupString(IDS_TARGET));
    SetDlgItemTextA(dialog, IDC_COPY_SOURCE, paths.source.c_str());
    SetDlgItemTextA(dialog, IDC_COPY_TARGET, paths.destination.c_str());
}

bool CopyRow(HWND dialog, SetupState& state, const setup::InstallFileEntry& row) {
    setup::RowPaths paths = setup::ResolveRow(row, FolderVarsOf(state));
    CreateFolderChain(paths.folder.c_str());
    if (paths.destination.empty())
        return true;
    ShowPaths(dialog, paths);
    if (!state.floppy) {
        if (!CanRead(paths.source) && row.disk != state.disk) {
            // Disks copied to folders: Disk1's sibling Disk2 holds the second disk's files.
            std::string switched = setup::SwitchDiskFolder(state.source, state.disk, row.disk);
            if (CopyText(state.source, switched.c_str()))
                state.disk = row.disk;
            paths = setup::ResolveRow(row, FolderVarsOf(state));
            SetDlgItemTextA(dialog, IDC_COPY_SOURCE, paths.source.c_str());
        }
        if (!CanRead(paths.source)) {
            ShowError(dialog, ERROR_FILE_NOT_FOUND);
            return false;
        }
    } else if (!CheckDisk(dialog, state, row.disk)) {
        return false;
    }
    if (!row.compressed) {
        CopyPlainRow(dialog, paths.source, paths.destination);
        return true;
    }
    if (row.keep && Exists(paths.destination))
        return true;
    return ExpandRow(dialog, paths.source, paths.destination);
}

INT_PTR CALLBACK CopyProc(HWND dialog, UINT message, WPARAM, LPARAM lp) {
    auto* state = reinterpret_cast<SetupState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lp);
        SetWindowTextA(dialog, SetupString(IDS_CAPTION));
        CentreWindow(dialog);
        reinterpret_cast<SetupState*>(lp)->copyRow = 0;
        PostMessageA(dialog, kCopyRow, 0, 0);
        return TRUE;
    case kCopyRow: {
        const setup::InstallFileEntry& row = setup::kInstallFiles[state->copyRow];
        if (row.copy && !CopyRow(dialog, *state, row)) {
            EndDialog(dialog, -1);
            return TRUE;
        }
        ++state->copyRow;
        PostMessageA(dialog, setup::kInstallFiles[state->copyRow].disk != 0 ? kCopyRow : kAllCopied, 0, 0);
        return TRUE;
    }
    case kAllCopied:
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunCopyDialog(SetupState& state) {
    return DialogBoxParamA(state.instance, "FILE_COPY_DLG", state.window, CopyProc, reinterpret_cast<LPARAM>(&state));
}
