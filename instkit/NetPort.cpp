#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/Handles.h"
#include "instkit/Instkit.h"
#include "instkit/InstkitState.h"
#include "instkit/core/BrowseTexts.h"

using namespace instkit;

namespace {
constexpr SIZE_T kDescriptionBlock = 1000;

// Titles the dialog and labels its buttons from the installer's texts, once the dialog is up.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message != BFFM_INITIALIZED || !data)
        return 0;
    try {
        const BrowseTexts texts = SplitBrowseTexts(reinterpret_cast<const char*>(data));
        if (texts.count >= 1)
            SetWindowTextA(dialog, texts.title.c_str());
        if (texts.count >= 2)
            SetDlgItemTextA(dialog, IDOK, texts.ok.c_str());
        if (texts.count >= 3)
            SetDlgItemTextA(dialog, IDCANCEL, texts.cancel.c_str());
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
}  // namespace

extern "C" DWORD WINAPI AddNetPort(HWND owner, LPCSTR buttonTexts, LPCSTR title, LPSTR path) {
    if (!path)
        return 0;
    // The dialog writes its display name here: a path buffer of the caller's.
    char chosen[MAX_PATH] = {};
    CGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDescriptionBlock));
    auto* browse = block ? static_cast<BROWSEINFOA*>(GlobalLock(block.Get())) : nullptr;
    if (!browse) {
        path[0] = '\0';
        return 0;
    }
    LPITEMIDLIST root = nullptr;
    SHGetSpecialFolderLocation(owner, CSIDL_NETHOOD, &root);
    browse->hwndOwner = owner;
    browse->pidlRoot = root;
    browse->pszDisplayName = chosen;
    browse->lpszTitle = title;
    browse->ulFlags = BIF_BROWSEFORPRINTER | BIF_STATUSTEXT;
    browse->lpfn = BrowseCallback;
    browse->lParam = reinterpret_cast<LPARAM>(buttonTexts);

    LPITEMIDLIST item = SHBrowseForFolderA(browse);
    GlobalUnlock(block.Get());
    path[0] = '\0';
    if (item) {
        if (!SHGetPathFromIDListA(item, chosen))
            chosen[0] = '\0';
        CopyName(path, chosen);
        CoTaskMemFree(item);
    }
    CoTaskMemFree(root);
    return path[0] != '\0';
}
