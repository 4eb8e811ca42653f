#pragma once
#include <optional>

#include "common/ListCtrlEx.h"
#include "common/LogFile.h"
#include "common/core/LogList.h"
#include "framework/View.h"

// The log viewer's view: one log at a time, the send log or the receive log, as a report list filling the main
// window. Rows that need the user's attention are bold. The list's records are the rows' data, in list order.
class CLogbookView : public CView {
public:
    bool Create(HWND parent, UINT id);

    // Shows the list the application names, then takes in that list's read marks.
    void OnInitialUpdate();

    LogKind Shown() const { return m_shown; }
    // Shows a list: the shown one is cleared first, so asking for the same one loads it again.
    void SwitchTo(LogKind kind);
    void Refresh();

    ClistCtrlEX& List() { return m_list; }
    const LogList& Log() const { return *m_log; }
    int LastClickedRow() const { return m_lastClicked; }

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // The row actions on the remembered or selected row.
    void OpenFax();
    void DeleteSelectedRow();
    void SendAgain();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ShowList(LogKind kind);
    void ClearList();
    void InsertRows();
    // Drops a row and its record, and hands the record back: its document may go once a log without it is saved.
    LogRecord TakeRow(int row);
    int SelectedRow() const;
    bool SaveLog();
    CLogFile& LogFile() { return *m_file; }
    HWND MainWindow() const;
    bool IsSendAgainPossible() const;
    LRESULT OnNotify(const NMHDR& header);

    ClistCtrlEX m_list;
    LogKind m_shown = LogKind::kSend;
    std::optional<LogList> m_log;
    std::optional<CLogFile> m_file;  // the shown log on disk, for as long as it is shown
    int m_lastClicked = -1;
};
