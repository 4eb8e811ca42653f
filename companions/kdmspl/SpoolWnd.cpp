#include "companions/kdmspl/SpoolWnd.h"

#include <cstdio>

#include "companions/kdmspl/resource.h"
#include "framework/Handles.h"
#include "framework/Resources.h"
#include "framework/core/TextFormat.h"

namespace {
constexpr const char* kClassName = "MiroloKdmsplWnd";
// Wide enough for a job to a long Chinese name in the installation's received-fax folder.
constexpr int kWidth = 640;
constexpr int kHeight = 240;
// A list box leaves a few pixels of margin around each row's text.
constexpr int kRowMargin = 6;

// Width of a row's text in the list's own font.
int TextWidth(HWND list, const std::string& text) {
    HDC dc = GetDC(list);
    if (!dc)
        return 0;
    SIZE size{};
    {
        CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    }
    ReleaseDC(list, dc);
    return size.cx;
}

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
    if (!RegisterWindowClass(instance, kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    return CreateEx(0, kClassName, LoadResString(IDS_CAPTION).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                    CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, instance) != nullptr;
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
    return 0;
}

LRESULT CSpoolWnd::OnSize(int cx, int cy) {
    if (m_list)
        MoveWindow(m_list, 0, 0, cx, cy, TRUE);
    return 0;
}

LRESULT CSpoolWnd::OnResend() {
    for (const CSpooler::TakenJob& job : m_spooler.TakeJobs()) {
        const std::string line = JobLine(job);
        const LRESULT row = SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (row < 0)
            continue;
        SendMessageA(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
        // The list scrolls sideways just as far as its longest row reaches, and not at all while every row fits.
        const int width = TextWidth(m_list, line) + kRowMargin;
        if (width > SendMessageA(m_list, LB_GETHORIZONTALEXTENT, 0, 0))
            SendMessageA(m_list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
    }
    return 0;
}

LRESULT CSpoolWnd::OnDestroy() {
    m_list = nullptr;
    if (m_quitOnClose)
        PostQuitMessage(0);
    return 0;
}
