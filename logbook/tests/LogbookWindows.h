#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "logbook/resource.h"

// For process tests: the parts of a running log viewer's main window, and how the menu window names a log.

inline HWND ToolBarOf(HWND frame) {
    return FindWindowExA(frame, nullptr, TOOLBARCLASSNAMEA, nullptr);
}

inline HWND LogListOf(HWND frame) {
    HWND view = FindWindowExA(frame, nullptr, "MiroloLogView", nullptr);
    return view ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

inline HWND ListSelectorOf(HWND frame) {
    HWND toolbar = ToolBarOf(frame);
    return toolbar ? GetDlgItem(toolbar, IDC_LIST_SELECTOR) : nullptr;
}

// The menu window starts the log viewer with the log's short path.
inline std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return shortPath;
}
