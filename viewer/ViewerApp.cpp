#include "viewer/ViewerApp.h"

#include <commctrl.h>
#include <shellapi.h>

#include "common/SpoolerHandOff.h"
#include "framework/AboutDlg.h"
#include "framework/CommonDialogs.h"
#include "framework/FilePath.h"
#include "framework/HeldRequests.h"
#include "framework/Resources.h"
#include "framework/Seam.h"
#include "framework/core/TextFormat.h"
#include "viewer/OpenFaxDlg.h"
#include "viewer/SendHandOff.h"
#include "viewer/ShellRegistration.h"
#include "viewer/resource.h"

namespace {
constexpr size_t kRecentFiles = 4;
}  // namespace

CViewerApp& TheViewerApp() {
    return *static_cast<CViewerApp*>(TheApp());
}

CViewerApp::CViewerApp() : m_instance("Mirolo Viewer"), m_recent(ID_FILE_MRU_FILE1, kRecentFiles) {}

CViewerApp::~CViewerApp() = default;

BOOL CViewerApp::InitInstance() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    SetAppName(LoadResString(IDS_APP_TITLE));
    if (!LoadSuiteSettings(IDS_REG_ERROR))
        return FALSE;
    m_recent.Load(Profile());
    if (!RegisterSmhDocumentType(ProgramFolder()))
        return FALSE;
    // Made absolute here: the list and the running copy know nothing of this start's current folder.
    const std::string argument = FirstArgument();
    const std::string file = argument.empty() ? argument : FullPathName(argument);
    if (!m_instance.Acquire()) {
        HandOverToRunningCopy(file);
        return FALSE;
    }
    if (!CreateMainWindow())
        return FALSE;
    m_frame.Scanner().Start();
    // The shell's open of an .smh file reaches this copy instead of starting another. The shell is answered at
    // once; the file opens from the next message, once the Viewer is free.
    m_dde.Start(
        [this](const std::string& path) { RunLater(m_frame.GetSafeHwnd(), [this, path] { OpenDocumentFile(path); }); });
    // A file that was asked for and cannot be shown ends the start, after its message.
    if (!file.empty() && !OpenDocumentFile(file)) {
        DestroyMainWindow();
        return FALSE;
    }
    m_resendMessage = RegisterWindowMessageA(kResendMessageName);
    if (!m_resendMessage)
        return FALSE;
    ShowWindow(m_frame.GetSafeHwnd(), SW_SHOW);
    UpdateWindow(m_frame.GetSafeHwnd());
    DragAcceptFiles(m_frame.GetSafeHwnd(), TRUE);
    return TRUE;
}

bool CViewerApp::CreateMainWindow() {
    m_document = std::make_unique<CViewerDoc>(*this, RecvFolder());
    if (!m_frame.Create(IDR_MAINFRAME, LoadResString(IDS_APP_TITLE)))
        return false;
    SetMainWindow(m_frame.GetSafeHwnd());
    m_instance.MarkMainWindow(m_frame.GetSafeHwnd());
    if (!m_view.Create(m_frame.GetSafeHwnd(), IDC_VIEW))
        return false;
    m_view.AttachDocument(m_document.get());
    m_frame.SetView(&m_view, m_document.get());
    m_document->OnNewDocument();
    m_view.OnInitialUpdate();
    return true;
}

void CViewerApp::DestroyMainWindow() {
    if (m_frame.GetSafeHwnd())
        DestroyWindow(m_frame.GetSafeHwnd());
}

bool CViewerApp::HandOverToRunningCopy(const std::string& file) {
    HWND running = m_instance.FindRunningWindow(nullptr);
    if (!running)
        return false;
    if (!file.empty()) {
        m_recent.Add(file);
        m_recent.Save(Profile());
    }
    CSingleInstance::BringForward(running);
    if (!file.empty())
        SendMessageA(running, WM_OPEN_RECENT_FIRST, 0, 0);
    return true;
}

bool CViewerApp::OpenDocumentFile(const std::string& path) {
    const bool opened = m_document->OnOpenDocument(path);
    if (!opened)
        m_document->UpdateAllViews(nullptr);
    m_frame.UpdateTitle();
    return opened;
}

void CViewerApp::OnHandOver() {
    m_recent.Load(Profile());
    if (m_recent.Count() == 0)
        return;
    std::string path = m_recent.Path(0);  // a copy: opening reorders the list
    // The other start waits for this message's answer; it should not wait for the file, nor for a message about it.
    RunLater(m_frame.GetSafeHwnd(), [this, path] { OpenDocumentFile(path); });
}

void CViewerApp::OnMainWindowClosing() {
    if (m_document && m_document->CurrentPageNumber() > 0)
        m_document->DeleteContents();
    m_dde.Stop();
    m_instance.Release();
}

void CViewerApp::AddToRecentFileList(const std::string& path) {
    m_recent.Add(path);
    m_recent.Save(Profile());
}

void CViewerApp::OnDocumentTitleChanged(const CDocument&) {
    if (m_frame.GetSafeHwnd())
        m_frame.UpdateTitle();
}

void CViewerApp::PromptAndOpen() {
    char file[MAX_PATH] = {};
    const std::string filter = FilterFromResource(LoadResString(IDS_SMH_FILTER));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_frame.GetSafeHwnd();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = RecvFolder().empty() ? nullptr : RecvFolder().c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON;
    if (Seam<ICommonDialogs>().OpenFile(ofn))
        OpenDocumentFile(file);
}

void CViewerApp::OpenFax() {
    COpenFaxDlg dialog({RecvFolder(), LogFolder(), TempFolder()}, m_frame.GetSafeHwnd());
    if (dialog.Run(m_frame.GetSafeHwnd()) && !dialog.ChosenPath().empty())
        OpenDocumentFile(dialog.ChosenPath());
}

void CViewerApp::SendFax() {
    // The job's own copy of the path: the document may be another by the time the phone book closes.
    const std::string document = m_document->FilePath();
    if (m_phoneBook)
        ::SendFax(m_frame.GetSafeHwnd(), document, RecvFolder(), *m_phoneBook);
}

void CViewerApp::SendPrint() {
    const std::string document = m_document->FilePath();
    ::SendPrint(m_frame.GetSafeHwnd(), document, RecvFolder());
}

bool CViewerApp::OnCommand(UINT id) {
    if (m_recent.IsCommand(id)) {
        const size_t index = id - m_recent.FirstCommand();
        if (index < m_recent.Count())
            OpenDocumentFile(std::string(m_recent.Path(index)));  // a copy: opening reorders the list
        return true;
    }
    switch (id) {
    case ID_FILE_OPEN:
        PromptAndOpen();
        return true;
    case ID_FILE_OPEN_FAX:
        OpenFax();
        return true;
    case ID_FILE_SEND_FAX:
        SendFax();
        return true;
    case ID_FILE_SEND_PRINT:
        SendPrint();
        return true;
    case ID_APP_EXIT:
        PostMessageA(m_frame.GetSafeHwnd(), WM_CLOSE, 0, 0);
        return true;
    case ID_APP_ABOUT: {
        CAboutDlg about(IDD_ABOUTBOX, IDC_RIGHTS);
        about.DoModal(m_frame.GetSafeHwnd());
        return true;
    }
    }
    return false;
}

bool CViewerApp::OnUpdateCommand(CCmdUI& ui) {
    if (m_recent.IsCommand(ui.Id())) {
        ui.Enable(ui.Id() - m_recent.FirstCommand() < m_recent.Count());
        return true;
    }
    switch (ui.Id()) {
    case ID_FILE_OPEN:
    case ID_FILE_OPEN_FAX:
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
        return true;
    case ID_FILE_SEND_FAX:
        // Without a phone book there is nobody to send to.
        ui.Enable(m_phoneBook && m_document->CanSaveOrSend());
        return true;
    case ID_FILE_SEND_PRINT:
        ui.Enable(m_document->CanSaveOrSend());
        return true;
    }
    return false;
}

bool CViewerApp::PreTranslateMessage(MSG& msg) {
    // While a scanner is enabled, its windows' messages and its notices come through this loop first.
    if (m_frame.Scanner().ProcessMessage(msg))
        return true;
    // Keys typed into the zoom box are text, not commands.
    HWND zoomBox = m_frame.ZoomBox().Hwnd();
    if (zoomBox && (msg.hwnd == zoomBox || IsChild(zoomBox, msg.hwnd)))
        return false;
    return m_frame.GetSafeHwnd() && m_frame.TranslateAccelerator(msg);
}

bool CViewerApp::OnIdle(int count) {
    if (count == 0 && m_frame.GetSafeHwnd())
        m_frame.OnIdleUpdate();
    return false;
}
