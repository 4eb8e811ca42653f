#include "companions/kdmspl/SpoolWnd.h"

#include <cstdio>

#include "companions/kdmspl/resource.h"
#include "framework/Resources.h"
#include "framework/core/TextFormat.h"

namespace {
constexpr const char* kClassName = "MiroloKdmsplWnd";

std::string JobLine(const CSpooler::TakenJob& job) {
    const UINT text = job.print ? IDS_JOB_PRINT : job.send.sent ? IDS_JOB_SENT : IDS_JOB_FAILED;
    const LocalTime& t = job.send.taken;
    char time[16];
    snprintf(time, sizeof time, "%02d:%02d:%02d  ", t.hour, t.minute, t.second);
    std::string what = job.send.destination.empty() ? job.path : job.send.destination + "  " + job.path;
    if (!job.send.sent && !job.print)
        what += "  (" + job.send.remark + ")";
    return time + ReplacePlaceholder1(LoadResString(text), what);
}
}  // namespace

bool CSpoolWnd::Create(HINSTANCE instance) {
    m_resendMessage = RegisterWindowMessageA(kResendMessage);
    if (!m_resendMessage)
        return false;
    WNDCLASSEXA wc{};
    if (!GetClassInfoExA(instance, kClassName, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &CWnd::StaticWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExA(&wc))
            return false;
    }
    return CreateEx(0, kClassName, LoadResString(IDS_CAPTION).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                    CW_USEDEFAULT, 480, 240, nullptr, nullptr, instance) != nullptr;
}

LRESULT CSpoolWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == m_resendMessage && m_resendMessage)
        return OnResend();
    switch (msg) {
        case WM_CREATE:
            return OnCreate();
        case WM_SIZE:
            return OnSize(LOWORD(lp), HIWORD(lp));
        case WM_DESTROY:
            return OnDestroy();
    }
    return CWnd::WindowProc(msg, wp, lp);
}

LRESULT CSpoolWnd::OnCreate() {
    m_list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0,
                             0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_JOB_LIST)),
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE)), nullptr);
    if (!m_list)
        return -1;
    SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageA(m_list, LB_SETHORIZONTALEXTENT, 1600, 0);
    return 0;
}

LRESULT CSpoolWnd::OnSize(int cx, int cy) {
    if (m_list)
        MoveWindow(m_list, 0, 0, cx, cy, TRUE);
    return 0;
}

LRESULT CSpoolWnd::OnResend() {
    for (const CSpooler::TakenJob& job : m_spooler.TakeJobs()) {
        const LRESULT row = SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(JobLine(job).c_str()));
        if (row >= 0)
            SendMessageA(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
    }
    return 0;
}

LRESULT CSpoolWnd::OnDestroy() {
    m_list = nullptr;
    if (m_quitOnClose)
        PostQuitMessage(0);
    return 0;
}
