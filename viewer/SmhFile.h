#pragma once
#include <windows.h>

#include <string>

#include "framework/Handles.h"

// SMH documents on disk: opening one (validation and page 1), decoding a page through the image library, and the
// header-patched copies of the send and print hand-off.

enum class SmhValidation {
    kValid,
    kCannotOpen,  // already reported with the framework's file-error report
    kInvalid,     // the caller says "这不是有效的SMH文件"
};

struct SmhOpened {
    CGlobalBlock firstPage;  // packed bitmap of page 1
    uint32_t pageCount = 0;
};

// Opens the file deny-write, checks its header and decodes page 1. `mainWindow` receives the image library's
// progress messages and is busy meanwhile; it may be null.
SmhValidation ValidateSmhFile(const std::string& path, HWND mainWindow, SmhOpened& opened);

// A new packed bitmap of page n (1-based), or null. Only an unopenable file is reported.
HGLOBAL LoadSmhPage(const std::string& path, uint32_t n, HWND mainWindow);

enum class SmhCopy {
    kPatched,
    kUnpatched,  // the copy is made, its header is as the source's (not an SMH document, or not writable)
    kNotCopied,  // nothing of this job's is at the target: an older copy there could not be replaced
};

// Copies `source` to `target` and patches the copy's header: kind 2 with the destination and this station's number
// and name from KDM540.INI, or kind 3 without a destination (both texts null). An older copy at `target` is
// removed first, read-only or not; the copy itself is never read-only.
SmhCopy CopySmhWithHeader(const std::string& source,
                          const std::string& target,
                          uint16_t kind,
                          const char* destName,
                          const char* destNumber);
