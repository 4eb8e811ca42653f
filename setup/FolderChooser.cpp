#include "setup/FolderChooser.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "setup/SetupState.h"
#include "setup/resource.h"

namespace {

constexpr UINT kSetTitle = WM_APP + 1;

struct Choice {
    const char* title;
    char result[MAX_PATH];
    bool chosen;
};

std::string ListItem(HWND list, int index) {
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length), '\0');
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

// Windows lists the open folder as its path, one item per level from the drive root ("c:\", "windows", ...), then
// its subfolders: the folder is the levels up to the selection. Wine lists "[..]" and "[name]" items below the
// folder shown above the list.
std::string FolderFromList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_CHOOSER_FOLDERS);
    int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    std::string first = ListItem(list, 0);
    if (!first.empty() && first.back() == '\\') {
        std::string path = first;
        if (selected >= 1)
            path += ListItem(list, 1);
        for (int i = 2; i <= selected; ++i)
            path += "\\" + ListItem(list, i);
        return path;
    }
    char shown[MAX_PATH] = {};
    GetDlgItemTextA(dialog, IDC_CHOOSER_FOLDER, shown, MAX_PATH);
    std::string path = shown;
    std::string item = selected >= 0 ? ListItem(list, selected) : std::string();
    if (item.size() > 2 && item.front() == '[' && item.back() == ']' && item != "[..]") {
        if (path.empty() || path.back() != '\\')
            path += '\\';
        path += item.substr(1, item.size() - 2);
    }
    return path;
}

UINT_PTR CALLBACK ChooserHook(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    auto* choice = reinterpret_cast<Choice*>(GetPropA(dialog, "SetupChoice"));
    switch (message) {
    case WM_INITDIALOG:
        choice = reinterpret_cast<Choice*>(reinterpret_cast<OPENFILENAMEA*>(lp)->lCustData);
        SetPropA(dialog, "SetupChoice", choice);
        // The dialog sets its own title after the hook has run.
        PostMessageA(dialog, kSetTitle, 0, 0);
        return TRUE;
    case kSetTitle:
        SetWindowTextA(dialog, choice->title);
        return TRUE;
    case WM_DESTROY:
        RemovePropA(dialog, "SetupChoice");
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: {
            std::string folder = FolderFromList(dialog);
            if (CopyText(choice->result, folder.c_str()))
                choice->chosen = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
        case IDC_CHOOSER_FILES:
        case IDC_CHOOSER_TYPES:
        case IDC_CHOOSER_NAME:
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

void ChooseFolder(HWND owner, const char* title, char (&folder)[MAX_PATH]) {
    Choice choice{title, {}, false};
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder;
    dialog.Flags = OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    dialog.lCustData = reinterpret_cast<LPARAM>(&choice);
    dialog.lpfnHook = ChooserHook;
    dialog.lpTemplateName = "FileOpen";
    if (!GetOpenFileNameA(&dialog))
        CommDlgExtendedError();
    if (choice.chosen)
        CopyText(folder, choice.result);
}
