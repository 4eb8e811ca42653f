#pragma once
#include <memory>

#include "common/SuiteApp.h"
#include "companions/watcher/Receiver.h"
#include "companions/watcher/WatcherWnd.h"
#include "framework/SingleInstance.h"

// The receive monitor: settings, then one running copy with its window until the user closes it. With the
// receive switch it receives one fax and ends: through the running copy when there is one, so that copy lists
// it, else by itself without a window. The exit code is 0 when a fax was received.
class CWatcherApp : public CSuiteApp {
public:
    CWatcherApp() : m_instance("Mirolo Watcher") {}

    static constexpr int kNotReceived = 1;

protected:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    BOOL SecondStart(bool receiveOnce);
    BOOL ReceiveWithoutWindow();

    CSingleInstance m_instance;
    std::unique_ptr<CReceiver> m_receiver;
    std::unique_ptr<CWatcherWnd> m_window;
};
