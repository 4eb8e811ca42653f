#include "companions/watcher/WatcherApp.h"

#include <commctrl.h>

#include "companions/watcher/core/Switches.h"
#include "companions/watcher/resource.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
// Long enough for a large sample on a slow disk; a running copy showing a message box answers after it.
constexpr UINT kForwardTimeoutMs = 30000;
}  // namespace

BOOL CWatcherApp::InitInstance() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    // Message boxes carry the window's caption rather than the file name.
    SetAppName(LoadResString(IDS_CAPTION));
    SetExitCode(kNotReceived);
    if (!LoadSuiteSettings(IDS_REG_ERROR))
        return FALSE;
    m_receiver =
        std::make_unique<CReceiver>(CReceiver::SamplesFolderOf(ProgramFolder()), RecvFolder(), TempFolder(), Profile());
    const bool receiveOnce = HasReceiveSwitch(CommandLine());
    if (!m_instance.Acquire())
        return SecondStart(receiveOnce);
    if (receiveOnce) {
        m_instance.Release();
        return ReceiveWithoutWindow();
    }
    m_window = std::make_unique<CWatcherWnd>(*m_receiver, true);
    if (!m_window->Create(Instance(), SW_SHOWDEFAULT))
        return FALSE;
    SetExitCode(0);
    m_instance.MarkMainWindow(*m_window);
    SetMainWindow(*m_window);
    return TRUE;
}

BOOL CWatcherApp::SecondStart(bool receiveOnce) {
    HWND running = m_instance.FindRunningWindow(nullptr);
    if (!receiveOnce) {
        if (running)
            CSingleInstance::BringForward(running);
        return FALSE;
    }
    // A copy that shows no window cannot list the fax; receiving it here loses nothing.
    if (!running)
        return ReceiveWithoutWindow();
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutA(running, CWatcherWnd::kReceiveMessage, 0, 0, SMTO_ABORTIFHUNG,
                                              kForwardTimeoutMs, &result) != 0;
    SetExitCode(answered && result == 1 ? 0 : kNotReceived);
    return FALSE;
}

BOOL CWatcherApp::ReceiveWithoutWindow() {
    const CReceiver::Outcome outcome = m_receiver->Receive();
    if (outcome.received)
        SetExitCode(0);
    else
        AppMessageBox(nullptr, FormatResString(outcome.messageId, outcome.messageArg), MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
}

int CWatcherApp::ExitInstance() {
    m_instance.Release();
    return CSuiteApp::ExitInstance();
}
