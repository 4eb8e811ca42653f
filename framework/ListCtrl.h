#pragma once
#include <windows.h>
#include <commctrl.h>

#include <span>

#include "framework/Resources.h"
#include "framework/Window.h"

// A report column: its title from the string table, its width in pixels, its LVCFMT_ alignment.
struct ListColumn {
    UINT title;
    int width;
    int format;
};

// A list-view control taken over from a dialog (or created and subclassed): typed forwards of its messages.
class CListCtrl : public CWnd {
public:
    bool GetItem(LVITEMA& item) const { return SendMessageA(m_hWnd, LVM_GETITEMA, 0, LPARAM(&item)) != FALSE; }
    // Copies at most size - 1 bytes and a terminating zero; returns the length copied.
    int GetItemText(int item, int subItem, char* text, int size) const {
        LVITEMA lvi{};
        lvi.iSubItem = subItem;
        lvi.pszText = text;
        lvi.cchTextMax = size;
        return int(SendMessageA(m_hWnd, LVM_GETITEMTEXTA, WPARAM(item), LPARAM(&lvi)));
    }
    // code is LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL.
    bool GetItemRect(int item, RECT& rect, int code) const {
        rect.left = code;
        return SendMessageA(m_hWnd, LVM_GETITEMRECT, WPARAM(item), LPARAM(&rect)) != FALSE;
    }
    bool GetColumn(int column, LVCOLUMNA& info) const {
        return SendMessageA(m_hWnd, LVM_GETCOLUMNA, WPARAM(column), LPARAM(&info)) != FALSE;
    }
    HIMAGELIST GetImageList(int which) const {
        return reinterpret_cast<HIMAGELIST>(SendMessageA(m_hWnd, LVM_GETIMAGELIST, WPARAM(which), 0));
    }
    // -1 starts the search before the first item; flags are LVNI_ values.
    int GetNextItem(int item, UINT flags) const {
        return int(SendMessageA(m_hWnd, LVM_GETNEXTITEM, WPARAM(item), MAKELPARAM(flags, 0)));
    }
    DWORD GetStyle() const { return DWORD(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    void InsertColumns(std::span<const ListColumn> columns) const {
        int index = 0;
        for (const ListColumn& column : columns) {
            std::string title = LoadResString(column.title);
            LVCOLUMNA lvc{};
            lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
            lvc.fmt = column.format;
            lvc.cx = column.width;
            lvc.pszText = title.data();
            lvc.iSubItem = index;
            SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, WPARAM(index), LPARAM(&lvc));
            ++index;
        }
    }
    bool IsReportView() const { return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }
};
