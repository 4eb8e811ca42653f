#pragma once
#include <windows.h>

#include <string>

// The framework's report of a file that could not be opened: the text for the cause, or the general one.
std::string OpenErrorText(const std::string& path, DWORD error);
void ReportOpenError(HWND owner, const std::string& path, DWORD error);
// The framework's report of a document that could not be written: one text whatever the cause.
void ReportSaveError(HWND owner);
// The framework's report of a file that could not be created or written: the text for the cause, else the
// string `fallbackId` ("Invalid filename." when creating, "Failed to save document." when writing).
std::string SaveErrorText(const std::string& path, DWORD error, UINT fallbackId);
void ReportSaveError(HWND owner, const std::string& path, DWORD error, UINT fallbackId);
