#pragma once
#include <memory>
#include <string>

#include "common/SuiteApp.h"
#include "framework/DocumentHost.h"
#include "framework/RecentFileList.h"
#include "framework/SingleInstance.h"
#include "viewer/DdeServer.h"
#include "viewer/PhoneBook.h"
#include "viewer/MainFrame.h"
#include "viewer/ViewerDoc.h"
#include "viewer/ViewerView.h"

// The fax viewer: one document, one view in one main window; one running copy, to which a second start hands
// its file. It is the document's host: the main window owns the document's messages and shows its progress.
class CViewerApp : public CSuiteApp, public IDocumentHost {
public:
    CViewerApp();
    ~CViewerApp() override;

    CViewerDoc& Document() { return *m_document; }
    CMainFrame& Frame() { return m_frame; }
    CViewerView& View() { return m_view; }
    CRecentFileList& RecentFiles() { return m_recent; }
    UINT ResendMessage() const { return m_resendMessage; }
    // Where Send fax gets its destinations; without one, Send fax is not offered.
    void SetPhoneBook(IPhoneBook* phoneBook) { m_phoneBook = phoneBook; }
    IPhoneBook* PhoneBook() const { return m_phoneBook; }

    // The framework's open step: the document opens the file, the view shows it; false when it was refused.
    bool OpenDocumentFile(const std::string& path);
    // Another start asked for its file, which it put first in the saved list: the list is read again at once,
    // before this copy saves it over, and the file opens from the next message, once the Viewer is free.
    void OnHandOver();
    void OnMainWindowClosing();

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    HWND OwnerWindow() const override { return m_frame.GetSafeHwnd(); }
    void AddToRecentFileList(const std::string& path) override;
    void OnDocumentTitleChanged(const CDocument& document) override;

    // The main window and its parts, without the settings, the single-instance rule and the shell: what the
    // program shows, for starting it and for tests.
    bool CreateMainWindow();
    void DestroyMainWindow();

protected:
    BOOL InitInstance() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool OnIdle(int count) override;

private:
    bool HandOverToRunningCopy(const std::string& file);
    void PromptAndOpen();
    // Picks a received fax from the receive log and opens it.
    void OpenFax();
    // Hands the open document to the spooler: for the chosen destinations, or to be printed by the device.
    void SendFax();
    void SendPrint();

    CSingleInstance m_instance;
    CRecentFileList m_recent;
    std::unique_ptr<CViewerDoc> m_document;
    CMainFrame m_frame;
    CViewerView m_view;
    UINT m_resendMessage = 0;
    CDdeServer m_dde;
    IPhoneBook* m_phoneBook = nullptr;
};

CViewerApp& TheViewerApp();
