#pragma once
#include <windows.h>

#include <string>

#include "framework/Window.h"

// The zoom box on the toolbar: an editable drop-down list of factors over the toolbar's slot. Choosing an entry,
// or typing a percentage and pressing Enter, tells the main window (message 1034); it parses the text and zooms.
// Enter, and Esc (which puts back the factor in effect), hand the keyboard back to the main window, whose keys
// are page and zoom commands again.
class CZoomBox {
public:
    bool Create(HWND toolBar, const RECT& slot, HWND mainWindow);
    HWND Hwnd() const { return m_combo; }

    void SetText(const std::string& text);
    // The typed text (at most 8 characters), or the text of list entry `index`.
    std::string EditText() const;
    std::string EntryText(int index) const;

private:
    // Enter in the edit field: the typed text is meant, whether or not the list is open.
    class CEditHook : public CWnd {
    public:
        explicit CEditHook(CZoomBox& owner) : m_owner(owner) {}

    protected:
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    private:
        CZoomBox& m_owner;
    };
    // The combo box's notifications go to the toolbar, its parent; they are passed on to the main window.
    class CToolBarHook : public CWnd {
    public:
        explicit CToolBarHook(CZoomBox& owner) : m_owner(owner) {}

    protected:
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    private:
        CZoomBox& m_owner;
    };

    void OnEnter();
    void OnEscape();
    void OnSelectionChange();

    HWND m_combo = nullptr;
    HWND m_main = nullptr;
    bool m_ignoreSelection = false;
    std::string m_shownText;  // the factor in effect, as last shown
    CEditHook m_edit{*this};
    CToolBarHook m_toolBar{*this};
};
