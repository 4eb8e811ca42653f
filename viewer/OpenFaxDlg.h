#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/ListCtrlEx.h"
#include "common/core/LogRecord.h"
#include "framework/Dialog.h"

// "打开传真": the received faxes of "receive.csv", in the log's own order, for picking one to open instead of
// browsing for its file. Unread faxes are drawn bold; choosing one leaves a read mark for the log viewer, which
// alone writes the log. Loading and clearing the list report their progress to the main window.
class COpenFaxDlg : public CDialog {
public:
    struct Folders {
        std::string recv;  // where the faxes lie
        std::string log;   // where "receive.csv" lies
        std::string temp;  // where the read marks go
    };

    COpenFaxDlg(Folders folders, HWND progressOwner);
    ~COpenFaxDlg() override;

    // True on OK, when ChosenPath() names the fax to open.
    bool Run(HWND parent) { return DoModal(parent) == IDOK; }

    // The received-fax folder's text directly followed by the chosen record's file name, within 255 bytes.
    const std::string& ChosenPath() const { return m_chosenPath; }
    const ReceiveLogRecord* ChosenRecord() const { return m_chosen.get(); }
    // The last read mark written, empty when none.
    const std::string& ReadMarkPath() const { return m_readMarkPath; }

    ClistCtrlEX& List() { return m_list; }
    int RememberedRow() const { return m_rememberedRow; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Zero, or the message to show for "receive.csv" once the dialog is no longer busy.
    UINT LoadLog();
    void AddRow(std::unique_ptr<ReceiveLogRecord> record);
    void ClearList();
    BOOL OnNotify(const NMHDR& header);
    void Choose();
    void FocusRow(int row);
    int SelectedRow() const;
    void Report(WPARAM percent, LPARAM phase) const;

    Folders m_folders;
    HWND m_progressOwner;
    ClistCtrlEX m_list;
    // The rows' records, in row order; each row's item data points to its own.
    std::vector<std::unique_ptr<ReceiveLogRecord>> m_records;
    int m_rememberedRow = -1;
    std::unique_ptr<ReceiveLogRecord> m_chosen;
    std::string m_chosenPath;
    std::string m_readMarkPath;
};
