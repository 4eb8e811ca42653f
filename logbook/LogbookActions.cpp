// The row actions: open a row's fax in the Viewer, delete a row with its document, send a failed fax again.
#include <windows.h>
#include <commctrl.h>

#include "common/SpoolerHandOff.h"
#include "framework/BusyState.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/Seam.h"
#include "framework/Shell.h"
#include "logbook/LogbookApp.h"
#include "logbook/LogbookView.h"
#include "logbook/resource.h"

namespace {
constexpr char kResendCopyName[] = "xmitfaxtemp.smh";

// The Viewer is started through the shell, whose command line takes no spaces unquoted: the folder goes in
// its short form.
std::string ShortFolder(const std::string& folder) {
    char shortPath[256] = {};
    const DWORD length = GetShortPathNameA(folder.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? std::string(shortPath) : folder;
}
}  // namespace

void CLogbookView::OpenFax() {
    if (!m_log || m_lastClicked < 0 || static_cast<size_t>(m_lastClicked) >= m_log->Size())
        return;
    CBusyState busy(MainWindow());
    LogRecord& record = m_log->At(static_cast<size_t>(m_lastClicked));
    record.MarkRead();
    SaveLog();
    const CLogbookApp& app = TheLogbookApp();
    const std::string parameter = record.FileName().empty() ? "" : ShortFolder(app.RecvFolder()) + record.FileName();
    const std::string viewer = app.ProgramFolder() + "Viewer.exe";
    Seam<IShell>().Open(m_list, viewer.c_str(), parameter.c_str(), nullptr, SW_SHOWNORMAL);
    InvalidateRect(m_list, nullptr, FALSE);
}

void CLogbookView::DeleteSelectedRow() {
    if (!m_log)
        return;
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || static_cast<size_t>(row) >= m_log->Size())
        return;
    if (AppMessageBox(MainWindow(), LoadResString(IDS_CONFIRM_DELETE), MB_OKCANCEL) != IDOK)
        return;
    CBusyState busy(MainWindow());
    RemoveRow(row);
    SaveLog();
}

void CLogbookView::SendAgain() {
    if (m_shown != LogKind::kSend || !m_log || m_lastClicked < 0 || static_cast<size_t>(m_lastClicked) >= m_log->Size())
        return;
    CBusyState busy(MainWindow());
    const CLogbookApp& app = TheLogbookApp();
    const LogRecord& record = m_log->At(static_cast<size_t>(m_lastClicked));
    std::string copy;
    if (!record.FileName().empty()) {
        copy = app.RecvFile(kResendCopyName);
        // Only a document inside the received-fax folder is sent; the copy's failure is the spooler's to find.
        if (IsPlainFileName(record.FileName()))
            CopyFileA(LogFile().DocumentPath(record).c_str(), copy.c_str(), FALSE);
    }
    RemoveRow(m_lastClicked);
    SaveLog();
    if (!WriteJobList(MainWindow(), app.RecvFile(kJobListName), copy, false))
        return;
    StartSpooler();
    HandToSpooler(MainWindow());
}
