#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/core/AddressLine.h"
#include "common/core/AddressRecord.h"

// The address book as a dialog holds it: one report-list row per entry, name, phone, address and remarks in
// columns 0 to 3, the row's record as its item data. The file is read when the dialog opens and rewritten
// whole when it closes. The programs that hold the book differ only in these texts.
struct AddressBookSetup {
    struct Column {
        UINT heading;  // string-table text
        int width;
    };
    Column columns[4];      // name, phone, address, remarks; the headings are also the header words of the file
    UINT overflowStringId;  // "溢出！"
    UINT replaceStringId;   // "此名已被输入\n您想更换这个吗？"
};

class CAddressBook {
public:
    explicit CAddressBook(const AddressBookSetup& setup) : m_setup(setup) {}
    CAddressBook(const CAddressBook&) = delete;
    CAddressBook& operator=(const CAddressBook&) = delete;

    void Attach(HWND dialog, HWND list, std::string path);
    void InsertColumns();

    // Both run in the dialog's busy state and report their failure ("不能打开文件 Addr.csv", "不能关闭文件
    // Addr.csv") after it ends. A failed save leaves the file as it was; so does every save after a load that
    // found the file but could not read it whole (locked, no access, a failed read or close).
    bool Load();
    bool Save();

    // Adds a row (appended, or with the check in name order, asking before it replaces a row of the same name
    // and phone). 1 when a row was added or replaced, 0 when nothing changed.
    int Insert(const AddressEntry& entry, bool checkDuplicates);
    void DeleteRow(int row);
    // Hides the dialog and frees every row, the last first.
    void Clear();

    int Count() const { return static_cast<int>(m_rows.size()); }
    const AddressRecord& Record(int row) const { return *m_rows[static_cast<size_t>(row)]; }

private:
    AddressHeadings Headings() const;
    void AddRow(size_t index, const AddressRecord& fields);
    void SetRowTexts(int row, const AddressRecord& record, int firstColumn);
    std::string FileText() const;
    void ReportFileError(UINT stringId) const;

    AddressBookSetup m_setup;
    std::string m_headings[4];
    HWND m_dialog = nullptr;
    HWND m_list = nullptr;
    std::string m_path;
    bool m_fileWritable = true;
    // Mirrors the list's rows, which show these records; finding an entry's place needs no list messages.
    std::vector<std::unique_ptr<AddressRecord>> m_rows;
    // Lines past the list's limit: not shown, but written back after the rows so no save drops them.
    std::string m_overflowLines;
};
