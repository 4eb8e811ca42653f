#pragma once
#include <windows.h>

#include "companions/watcher/Receiver.h"
#include "framework/Window.h"

// The monitor's small window: a button that receives a fax now, where the sample faxes come from, and a list
// of every fax received while it runs, so the user sees what the log viewer will get.
class CWatcherWnd : public CWnd {
public:
    static constexpr const char* kClassName = "MiroloWatcherWnd";
    // A second start with the receive switch asks the running copy to receive one fax; the result is 1 when
    // a fax was received.
    static constexpr UINT kReceiveMessage = WM_APP + 40;

    CWatcherWnd(CReceiver& receiver, bool quitOnClose) : m_receiver(receiver), m_quitOnClose(quitOnClose) {}

    // False when the window cannot be made. `showCommand` is how the starter asked it to be shown.
    bool Create(HINSTANCE instance, int showCommand);

    // Receives one fax and lists it; says why when none was received.
    bool ReceiveNow();

    HWND ReceivedList() const { return m_list; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT OnCreate();
    LRESULT OnSize(int cx, int cy);
    LRESULT OnCommand(UINT id);
    LRESULT OnDestroy();
    void AddRow(const CReceiver::Outcome& outcome);

    CReceiver& m_receiver;
    bool m_quitOnClose;
    HWND m_button = nullptr;
    HWND m_samples = nullptr;
    HWND m_list = nullptr;
};
