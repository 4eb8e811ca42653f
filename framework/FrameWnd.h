#pragma once
#include <windows.h>

#include <string>

#include "framework/CmdTarget.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "framework/Window.h"

class CDocument;
class CView;

// The main window of a document program: menu, accelerators and icon of one resource number, a toolbar at the
// top, a status bar at the bottom and the view in between. Commands go to the view, the document, the frame and
// the application in turn; a command whose rule disables it is not carried out.
class CFrameWnd : public CWnd, public CCmdTarget {
public:
    static constexpr UINT kViewToolBar = 59392;
    static constexpr UINT kViewStatusBar = 59393;

    bool Create(UINT resourceId, const std::string& appTitle);
    void SetView(CView* view, CDocument* document);
    CView* View() const { return m_view; }
    CDocument* Document() const { return m_document; }
    CToolBar& ToolBar() { return m_toolBar; }
    CStatusBar& StatusBar() { return m_statusBar; }

    // Caption: the program's title, " - ", the document's title.
    void UpdateTitle();
    // Enabled and checked states of the toolbar and the key indicators; called while the program is idle.
    void OnIdleUpdate();
    bool TranslateAccelerator(MSG& msg) const;

    // The routing: view, document, frame, application.
    bool RouteCommand(UINT id);
    bool RouteUpdate(CCmdUI& ui);

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Text of the message pane while nothing is selected.
    void SetIdleText(std::string text) { m_idleText = std::move(text); }
    void ShowPrompt(UINT id);

protected:
    // Toolbar slots, status panes and the like; called once the window exists.
    virtual bool OnCreateBars() = 0;
    virtual void RecalcLayout();
    // Messages that ask for new work from outside (a close, dropped files, another start's hand-over): held while
    // work is under way, handled once it has ended.
    virtual bool IsRequest(UINT msg) const;
    // Extra handling of a derived frame; return true when handled with `result` set.
    virtual bool OnFrameMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }
    virtual void OnClose();
    // The toolbar moved to another side or started floating.
    virtual void OnToolBarDocked() {}
    // A menu is about to drop down; before its items get their states (e.g. to list recent files in it).
    virtual void OnMenuPopup(HMENU /*menu*/) {}
    virtual void OnDropFiles(HDROP drop);

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    CToolBar m_toolBar;
    CStatusBar m_statusBar;

private:
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnNotify(const NMHDR& header);
    void ShowBar(HWND bar, bool show);
    void DockToolBar(CToolBar::Side side);
    void ShowToolBarMenu();

    std::string m_appTitle;
    std::string m_idleText;
    HACCEL m_accelerators = nullptr;
    CView* m_view = nullptr;
    CDocument* m_document = nullptr;
};
