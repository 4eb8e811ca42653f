#include "viewer/MainFrame.h"

#include <commctrl.h>
#include <shellapi.h>

#include "common/kdmlib.h"
#include "framework/BusyState.h"
#include "framework/Resources.h"
#include "viewer/ViewerApp.h"
#include "viewer/ViewerView.h"
#include "viewer/core/Zoom.h"
#include "viewer/resource.h"

namespace {
const std::vector<CToolBar::Slot> kSlots = {
    {ID_FILE_OPEN, 0},
    {ID_FILE_OPEN_FAX, 0},
    {ID_FILE_SAVE_AS, 0},
    {0, 0},
    {ID_EDIT_COPY, 0},
    {ID_SELECTION_START, 0},
    {0, 0},
    {ID_VIEW_ZOOM_IN, 0},
    {ID_VIEW_ZOOM_OUT, 0},
    {0, 2},
    {IDC_ZOOM_BOX, 60},
    {0, 8},
    {ID_IMAGE_ROTATE_RIGHT, 0},
    {ID_IMAGE_ROTATE_LEFT, 0},
    {ID_IMAGE_ROTATE_180, 0},
    {ID_IMAGE_SMOOTH, 0},
    {0, 0},
    {ID_PAGE_PREVIOUS, 0},
    {ID_PAGE_NEXT, 0},
    {0, 0},
    {ID_HELP_INDEX, 0},
};
constexpr int kProgressPaneWidth = 100;
constexpr int kProgressPane = 1;

UINT StatusTextOf(LPARAM selector) {
    switch (selector) {
    case 1:
        return IDS_STATUS_LOADING;
    case 2:
        return IDS_STATUS_SAVING;
    case 3:
        return IDS_STATUS_CLEARING;
    case 4:
        return IDS_STATUS_DECODING;
    case 5:
        return IDS_STATUS_SMOOTHING;
    }
    return IDS_STATUS_READY;
}
}  // namespace

bool CMainFrame::OnCreateBars() {
    SetIdleText(LoadResString(IDS_STATUS_READY));
    // The menu's own text for the recent files' place, before the list first takes it over.
    char placeholder[64] = {};
    GetMenuStringA(GetMenu(m_hWnd), ID_FILE_MRU_FILE1, placeholder, sizeof placeholder, MF_BYCOMMAND);
    m_recentPlaceholder = placeholder;
    if (!m_toolBar.Create(m_hWnd, IDB_TOOLBAR, 16, 15, kSlots))
        return false;
    if (!m_zoomBox.Create(m_toolBar.Hwnd(), m_toolBar.ItemRect(m_toolBar.IndexOf(IDC_ZOOM_BOX)), m_hWnd))
        return false;
    if (!m_statusBar.Create(m_hWnd, {kProgressPaneWidth}))
        return false;
    if (!m_progress.Create(m_statusBar, kProgressPane, IDC_PROGRESS))
        return false;
    ShowPrompt(0);
    return true;
}

void CMainFrame::RecalcLayout() {
    CFrameWnd::RecalcLayout();
    m_progress.Place();
}

void CMainFrame::ShowProgress(UINT textId, WPARAM percent) {
    m_progress.Show(LoadResString(textId), percent);
}

void CMainFrame::OnZoomBoxChosen(WPARAM index, LPARAM fromList) {
    const std::string text = fromList ? m_zoomBox.EntryText(static_cast<int>(index)) : m_zoomBox.EditText();
    const ZoomBoxChoice choice = ParseZoomBoxText(text);
    m_zoomBox.SetText(choice.text);
    auto* view = static_cast<CViewerView*>(View());
    if (!view)
        return;
    CBusyState busy(m_hWnd);
    view->SetZoom(std::nullopt, choice.factor);
}

bool CMainFrame::OnFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_ZOOM_BOX_CHOSEN:
        OnZoomBoxChosen(wp, lp);
        return true;
    // The image library's end (100 or more) is "准备" with an empty bar.
    case kKdmDecodeProgressMessage:
        ShowProgress(wp >= 100 ? IDS_STATUS_READY : IDS_STATUS_DECODING, wp);
        return true;
    case kKdmSmoothProgressMessage:
        ShowProgress(wp >= 100 ? IDS_STATUS_READY : IDS_STATUS_SMOOTHING, wp);
        return true;
    // Here the sender chooses the text whatever the percentage; 100 or more only empties the bar.
    case WM_STATUS_PROGRESS:
        ShowProgress(StatusTextOf(lp), wp);
        return true;
    case WM_OPEN_RECENT_FIRST:
        TheViewerApp().OnHandOver();
        return true;
    case WM_PALETTECHANGED:
    case WM_QUERYNEWPALETTE:
        if (CView* view = View()) {
            SendMessageA(view->GetSafeHwnd(), WM_USER, reinterpret_cast<WPARAM>(view->GetSafeHwnd()), 0);
            result = TRUE;
            return true;
        }
        return false;
    }
    return false;
}

void CMainFrame::OnDropFiles(HDROP drop) {
    char path[MAX_PATH] = {};
    const bool got = DragQueryFileA(drop, 0, path, sizeof path) > 0;
    DragFinish(drop);
    SetForegroundWindow(m_hWnd);
    if (got)
        TheViewerApp().OpenDocumentFile(path);
}

void CMainFrame::OnToolBarDocked() {
    m_toolBar.FitSlotControl(IDC_ZOOM_BOX, m_zoomBox.Hwnd(), 3);
}

void CMainFrame::OnMenuPopup(HMENU menu) {
    // The file menu lists the recent files where its placeholder stands.
    TheViewerApp().RecentFiles().UpdateMenu(menu, m_recentPlaceholder);
}

bool CMainFrame::OnCommand(UINT id) {
    switch (id) {
    case ID_FILE_SELECT_SOURCE:
        m_scanner.ChooseSource();
        return true;
    case ID_FILE_ACQUIRE:
        m_scanner.AcquirePages();
        return true;
    }
    return CFrameWnd::OnCommand(id);
}

bool CMainFrame::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.Id()) {
    case ID_FILE_SELECT_SOURCE:
    case ID_FILE_ACQUIRE:
        ui.Enable(m_scanner.CanStart());
        return true;
    }
    return CFrameWnd::OnUpdateCommand(ui);
}

void CMainFrame::OnClose() {
    TheViewerApp().OnMainWindowClosing();
    m_scanner.Shut();
    CFrameWnd::OnClose();
}
