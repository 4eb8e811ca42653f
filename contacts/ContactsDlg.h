#pragma once
#include "common/AddressBook.h"
#include "common/AddressBoxes.h"
#include "common/ListCtrlEx.h"
#include "framework/BitmapButton.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

class CContactsApp;

// "地址簿": the address book in a list, four boxes to type an entry into, and the buttons to add, delete and
// clear. The book is read when the dialog opens and written back when it closes, if it changed.
class CContactsDlg : public CDialog {
public:
    explicit CContactsDlg(CContactsApp& app);

    CAddressBook& Book() { return m_book; }
    bool IsDirty() const { return m_dirty; }
    int CurrentRow() const { return m_currentRow; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    // Enter does nothing; Esc leaves at once without saving.
    void OnOK() override {}
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void AddSystemMenuItem();
    void LoadLabels();
    void LayOut();
    BOOL OnNotify(const NMHDR& header);

    void Add();
    void Delete();
    void Exit();
    void Close();

    void ShowRow(int row);
    int SelectedRow() const;

    CContactsApp& m_app;
    CAddressBook m_book;
    CAddressBoxes m_boxes;
    ClistCtrlEX m_list;
    CBitmapButton m_add, m_delete, m_clear;
    CBitmapHandle m_labels[4];
    HICON m_icon = nullptr;
    int m_currentRow = -1;
    bool m_dirty = false;
};
