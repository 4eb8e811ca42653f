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
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (AppMessageBox(MainWindow(), LoadResString(IDS_CONFIRM_DELETE), MB_OKCANCEL) != IDOK)
        return;
    CBusyState busy(MainWindow());
    const LogRecord record = TakeRow(row);
    // The document goes only with its line: a log that could not be saved still names it, and the next load
    // shows the row again with its fax.
    if (SaveLog())
        LogFile().DeleteDocument(record);
}

// The row is the one the command's rule looked at, the selected one, whichever row was clicked last.
void CLogbookView::SendAgain() {
    if (!IsSendAgainPossible())
        return;
    CBusyState busy(MainWindow());
    const CLogbookApp& app = TheLogbookApp();
    const int row = SelectedRow();
    std::string copy;
    if (!m_log->At(static_cast<size_t>(row)).FileName().empty()) {
        copy = app.RecvFile(kResendCopyName);
        // Only a document inside the received-fax folder is sent. One that cannot be copied leaves no copy at
        // all, never an older one: the spooler finds the file missing and says so.
        const LogRecord& record = m_log->At(static_cast<size_t>(row));
        if (IsPlainFileName(record.FileName()))
            MakeHandOffCopy(LogFile().DocumentPath(record), copy);
        else
            RemoveHandOffCopy(copy);
    }
    const LogRecord record = TakeRow(row);
    if (!SaveLog())
        return;  // the failed row stays in the log with its document, to be sent again later
    LogFile().DeleteDocument(record);
    if (!WriteJobList(MainWindow(), app.RecvFile(kJobListName), copy, false))
        return;
    StartSpooler();
    HandToSpooler(MainWindow());
}
