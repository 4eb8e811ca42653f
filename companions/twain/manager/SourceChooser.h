#pragma once
#include <windows.h>

#include <vector>

#include "companions/twain/manager/SourceLibrary.h"

// The Select Source dialog: the sources by product name, the default one selected. Run returns IDOK with
// Chosen() the index of the user's source, IDCANCEL, or -1 when the dialog could not be shown.
class CSourceChooser {
public:
    CSourceChooser(HINSTANCE instance, const std::vector<SourceFile>& sources, size_t initial)
        : m_instance(instance), m_sources(sources), m_chosen(initial) {}

    INT_PTR Run(HWND owner);
    size_t Chosen() const { return m_chosen; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp);
    INT_PTR OnMessage(UINT message, WPARAM wp, LPARAM lp);
    BOOL OnInitDialog();
    BOOL OnCommand(int id, int code);
    void OnSelect();

    HINSTANCE m_instance;
    const std::vector<SourceFile>& m_sources;
    size_t m_chosen;
    HWND m_dialog = nullptr;
};
