#pragma once
#include <windows.h>

#include "companions/kdmspl/Spooler.h"
#include "framework/Window.h"

// The spooler's small window: it answers the hand-off broadcast by taking the jobs and lists each one taken,
// so the user sees that the hand-off arrived.
class CSpoolWnd : public CWnd {
public:
    static constexpr const char* kResendMessage = "WM_MESSAGE_OF_KDM-540_RESEND";

    CSpoolWnd(CSpooler& spooler, bool quitOnClose) : m_spooler(spooler), m_quitOnClose(quitOnClose) {}

    // False when the message cannot be registered or the window cannot be made.
    bool Create(HINSTANCE instance);

    HWND JobList() const { return m_list; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT OnCreate();
    LRESULT OnSize(int cx, int cy);
    LRESULT OnResend();
    LRESULT OnDestroy();

    CSpooler& m_spooler;
    bool m_quitOnClose;
    UINT m_resendMessage = 0;
    HWND m_list = nullptr;
};
