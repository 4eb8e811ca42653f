#pragma once
#include <optional>

#include "framework/HeldRequests.h"
#include "viewer/TwainClient.h"

class CFrameWnd;

// The Viewer's scanner: the main window's TWAIN client. Each scanned page is added to the document through the
// view; once the source has closed after a scan, the document takes the scan file as its file.
class CViewerScanner : public CTwainClient {
public:
    explicit CViewerScanner(CFrameWnd& frame, TwainManagerLink& link = ProcessTwainManager())
        : CTwainClient(link), m_frame(frame) {}

    // At start-up: the manager is opened with the main window when there is one; scanning stays off otherwise.
    void Start();
    // At close, once the document is empty.
    void Shut();

    // The menu's commands, open only while nothing is being scanned.
    void ChooseSource();
    void AcquirePages();
    bool CanStart() const { return State() == 3; }

protected:
    void ImageReceived(HGLOBAL image) override;
    void CloseRequest() override;
    void StateChanged(int state) override;
    void Error(int code) override;

private:
    void AdoptScanFileOnceClosed();

    CFrameWnd& m_frame;
    unsigned m_pagesReceived = 0;  // in this acquisition
    // While a source is open, scanning is work under way: a close, another start's file or a DDE open waits until
    // the scanner has closed, so that neither the document nor the source's code goes from under a scan.
    std::optional<CWorkScope> m_scanning;
};
