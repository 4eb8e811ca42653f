#include "setup/MainDlg.h"

#include <commdlg.h>

#include <cstdio>
#include <string>

#include "setup/FolderChooser.h"
#include "setup/Install.h"
#include "setup/core/InstallPaths.h"
#include "setup/resource.h"

namespace {

void SetTexts(HWND dialog, std::initializer_list<std::pair<int, UINT>> texts) {
    for (auto [control, text] : texts)
        SetDlgItemTextA(dialog, control, SetupString(text));
}

INT_PTR CALLBACK VersionProc(HWND dialog, UINT message, WPARAM wp, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, SetupString(IDS_CAPTION));
        SetTexts(
            dialog,
            {{IDC_VERSION_CAPTION, IDS_CAPTION}, {IDC_VERSION_RIGHTS, IDS_RIGHTS}, {IDC_VERSION_CREDITS, IDS_CREDITS}});
        CentreWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)
            EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

void Browse(HWND dialog, int edit, char (&folder)[MAX_PATH], UINT title) {
    GetDlgItemTextA(dialog, edit, folder, MAX_PATH);
    ChooseFolder(dialog, SetupString(title), folder);
    SetDlgItemTextA(dialog, edit, folder);
}

void SelectPort(HWND dialog, int pressed) {
    for (int button = IDC_LPT1; button <= IDC_LPT3; ++button)
        CheckDlgButton(dialog, button, button == pressed ? BST_CHECKED : BST_UNCHECKED);
}

// Reads the three edits; false leaves the dialog open (an empty field, or folders that would overflow a path).
bool Confirm(HWND dialog, SetupState& state) {
    char source[MAX_PATH] = {}, install[MAX_PATH] = {}, group[MAX_PATH] = {};
    GetDlgItemTextA(dialog, IDC_SOURCE_EDIT, source, MAX_PATH);
    GetDlgItemTextA(dialog, IDC_TARGET_EDIT, install, MAX_PATH);
    GetDlgItemTextA(dialog, IDC_GROUP_EDIT, group, MAX_PATH);
    if (!*source || !*install || !*group)
        return false;
    setup::FolderVars vars = FolderVarsOf(state);
    vars.source = setup::TrimFolder(source);
    vars.install = setup::TrimFolder(install);
    vars.group = group;
    if (auto tooLong = setup::TooLongPath(vars)) {
        char text[1024];
        std::snprintf(text, sizeof text, SetupString(IDS_PATH_TOO_LONG), tooLong->c_str());
        SetupMessage(dialog, text, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CopyText(state.source, vars.source.c_str());
    CopyText(state.install, vars.install.c_str());
    CopyText(state.group, group);
    state.port = IsDlgButtonChecked(dialog, IDC_LPT1) ? 1 : IsDlgButtonChecked(dialog, IDC_LPT2) ? 2 : 3;
    WriteKdm540Ini(state);
    CreateFolderChain(state.install);
    state.macros = FolderVarsOf(state);
    return true;
}

INT_PTR CALLBACK MainProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<SetupState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        state = reinterpret_cast<SetupState*>(lp);
        SetWindowLongPtrA(dialog, DWLP_USER, lp);
        CentreWindow(dialog);
        SetWindowTextA(dialog, SetupString(IDS_CAPTION));
        SetTexts(dialog, {{IDC_SOURCE_LABEL, IDS_SOURCE},
                          {IDC_TARGET_LABEL, IDS_TARGET},
                          {IDC_GROUP_LABEL, IDS_GROUP},
                          {IDC_PORT_BOX, IDS_PORTS},
                          {IDC_LPT1, IDS_LPT1},
                          {IDC_LPT2, IDS_LPT2},
                          {IDC_LPT3, IDS_LPT3},
                          {IDOK, IDS_OK},
                          {IDCANCEL, IDS_CANCEL},
                          {IDC_VERSION, IDS_VERSION},
                          {IDC_BROWSE_SOURCE, IDS_BROWSE_SOURCE},
                          {IDC_BROWSE_TARGET, IDS_BROWSE_TARGET}});
        for (int edit : {IDC_SOURCE_EDIT, IDC_TARGET_EDIT, IDC_GROUP_EDIT})
            SendDlgItemMessageA(dialog, edit, EM_LIMITTEXT, MAX_PATH - 1, 0);
        SetDlgItemTextA(dialog, IDC_SOURCE_EDIT, state->source);
        SetDlgItemTextA(dialog, IDC_TARGET_EDIT, state->install);
        SetDlgItemTextA(dialog, IDC_GROUP_EDIT, state->group);
        SelectPort(dialog, IDC_LPT1);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_BROWSE_SOURCE:
            Browse(dialog, IDC_SOURCE_EDIT, state->source, IDS_SOURCE);
            return TRUE;
        case IDC_BROWSE_TARGET:
            Browse(dialog, IDC_TARGET_EDIT, state->install, IDS_TARGET);
            return TRUE;
        case IDC_LPT1:
        case IDC_LPT2:
        case IDC_LPT3:
            SelectPort(dialog, LOWORD(wp));
            return TRUE;
        case IDC_VERSION:
            DialogBoxParamA(state->instance, "VERSION_DLG", dialog, VersionProc, 0);
            return TRUE;
        case IDOK:
            if (Confirm(dialog, *state))
                EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, -1);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunMainDialog(SetupState& state) {
    return DialogBoxParamA(state.instance, "MAIN_DLG", state.window, MainProc, reinterpret_cast<LPARAM>(&state));
}
