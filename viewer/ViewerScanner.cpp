#include "viewer/ViewerScanner.h"

#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "viewer/ViewerDoc.h"
#include "viewer/ViewerView.h"
#include "viewer/resource.h"

void CViewerScanner::Start() {
    if (!IsAvailable())
        return;
    SetParentWindow(m_frame.GetSafeHwnd());
    if (!OpenManager())
        Error(0);
}

void CViewerScanner::Shut() {
    CloseManager();
    UnloadManager();
}

void CViewerScanner::ChooseSource() {
    SelectSource(m_frame.GetSafeHwnd());
}

void CViewerScanner::AcquirePages() {
    auto* view = static_cast<CViewerView*>(m_frame.View());
    if (!view)
        return;
    CViewerDoc& document = view->Doc();
    if (document.CurrentPageNumber() > 0) {
        if (AppMessageBox(m_frame.GetSafeHwnd(), LoadResString(IDS_ACQUIRE_DELETE), MB_ICONQUESTION | MB_OKCANCEL) !=
            IDOK)
            return;
        document.DeleteContents();
        document.UpdateAllViews(nullptr);
        m_frame.UpdateTitle();
    }
    m_pagesReceived = 0;
    Acquire(m_frame.GetSafeHwnd());
}

void CViewerScanner::ImageReceived(HGLOBAL image) {
    CGlobalBlock page(image);
    auto* view = static_cast<CViewerView*>(m_frame.View());
    if (!view)
        return;
    view->AddScannedPage(std::move(page));
    ++m_pagesReceived;
    // While more pages are pending this does nothing; after the last one the source closes.
    CloseSource();
    AdoptScanFileOnceClosed();
}

void CViewerScanner::CloseRequest() {
    CTwainClient::CloseRequest();
    // Pages of a pass that was cancelled part-way are kept too, once the user closes the scanner.
    AdoptScanFileOnceClosed();
}

void CViewerScanner::AdoptScanFileOnceClosed() {
    auto* view = static_cast<CViewerView*>(m_frame.View());
    if (State() >= 4 || m_pagesReceived == 0 || !view)
        return;
    m_pagesReceived = 0;
    view->Doc().AdoptScanFile();
}

void CViewerScanner::StateChanged(int state) {
    if (state < 4)
        m_scanning.reset();
    else if (!m_scanning)
        m_scanning.emplace();
}

void CViewerScanner::Error(int /*code*/) {
    AppMessageBox(m_frame.GetSafeHwnd(), LoadResString(IDS_TWAIN_ERROR), MB_ICONINFORMATION | MB_OK);
}
