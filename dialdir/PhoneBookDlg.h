#pragma once
#include <vector>

#include "common/AddressBook.h"
#include "common/AddressBoxes.h"
#include "common/ListCtrlEx.h"
#include "framework/BitmapButton.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

class CSuiteApp;
struct DialKey;

// "电话": the address book as a phone book with a dial pad. The user picks one or more entries, or types a
// number, and closes with OK; the dialog then holds them as records for the library's caller. Changes to the
// book are written back when it closes, with OK or Cancel.
class CPhoneBookDlg : public CDialog {
public:
    explicit CPhoneBookDlg(CSuiteApp& app);

    int ResultCount() const { return static_cast<int>(m_result.size()); }
    // Any output may be null; each given one holds its field's size. 1 for a valid index, else 0.
    int ResultEntry(int index, char* name, char* phone, char* address, char* remarks) const;
    const AddressRecord* Result() const { return m_result.data(); }

    CAddressBook& Book() { return m_book; }
    bool IsDirty() const { return m_dirty; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override { Choose(); }
    void OnCancel() override { Cancel(); }
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void LoadBitmaps();
    void LayOut();
    BOOL OnNotify(const NMHDR& header);

    void Add();
    void Delete();
    void PressKey(const DialKey& key);
    // The number is typed in or dialled: what the box shows is what OK sends, so no row stays chosen.
    void OnPhoneEdited();
    void Choose();
    void Cancel();

    void ShowRow(int row);
    std::vector<int> SelectedRows() const;

    CSuiteApp& m_app;
    CAddressBook m_book;
    CAddressBoxes m_boxes;
    bool m_showingRow = false;
    ClistCtrlEX m_list;
    CBitmapButton m_buttons[18];
    CBitmapHandle m_pictures[5];
    bool m_dirty = false;
    std::vector<AddressRecord> m_result;
};
