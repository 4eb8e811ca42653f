#include "framework/FileErrors.h"

#include "framework/FrameworkResources.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

std::string OpenErrorText(const std::string& path, DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return FormatResString(IDS_FW_FILE_NOT_FOUND, path);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FormatResString(IDS_FW_SHARING_VIOLATION, path);
    }
    return LoadResString(IDS_FW_FAILED_TO_OPEN);
}

void ReportOpenError(HWND owner, const std::string& path, DWORD error) {
    AppMessageBox(owner, OpenErrorText(path, error), MB_ICONEXCLAMATION | MB_OK);
}

std::string SaveErrorText(const std::string& path, DWORD error, UINT fallbackId) {
    switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return FormatResString(IDS_FW_BAD_PATH, path);
    case ERROR_ACCESS_DENIED:
        return FormatResString(IDS_FW_ACCESS_DENIED, path);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FormatResString(IDS_FW_SHARING_VIOLATION, path);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FormatResString(IDS_FW_DISK_FULL, path);
    }
    return LoadResString(fallbackId);
}

void ReportSaveError(HWND owner, const std::string& path, DWORD error, UINT fallbackId) {
    AppMessageBox(owner, SaveErrorText(path, error, fallbackId), MB_ICONEXCLAMATION | MB_OK);
}

void ReportSaveError(HWND owner) {
    AppMessageBox(owner, LoadResString(IDS_FW_FAILED_TO_SAVE), MB_ICONEXCLAMATION | MB_OK);
}
