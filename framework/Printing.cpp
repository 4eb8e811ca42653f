#include "framework/Printing.h"

#include <commdlg.h>

#include "framework/BusyState.h"
#include "framework/CommonDialogs.h"
#include "framework/Seam.h"

namespace {
// The printer and paper last chosen, kept for the next dialog as a program's printer settings are.
HGLOBAL g_devMode = nullptr;
HGLOBAL g_devNames = nullptr;

void KeepSettings(PRINTDLGA& pd) {
    if (pd.hDevMode && pd.hDevMode != g_devMode) {
        if (g_devMode)
            GlobalFree(g_devMode);
        g_devMode = pd.hDevMode;
    }
    if (pd.hDevNames && pd.hDevNames != g_devNames) {
        if (g_devNames)
            GlobalFree(g_devNames);
        g_devNames = pd.hDevNames;
    }
}

PRINTDLGA Dialog(HWND owner, DWORD flags) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = g_devMode;
    pd.hDevNames = g_devNames;
    pd.Flags = flags;
    return pd;
}
}  // namespace

bool PrintPages(HWND owner,
                const std::string& documentName,
                int minPage,
                int maxPage,
                const std::function<void(HDC, int, const RECT&)>& drawPage) {
    if (minPage < 1 || maxPage < minPage)
        return false;
    PRINTDLGA pd = Dialog(owner, PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE);
    pd.nMinPage = static_cast<WORD>(minPage);
    pd.nMaxPage = static_cast<WORD>(maxPage > 0xFFFF ? 0xFFFF : maxPage);
    pd.nFromPage = pd.nMinPage;
    pd.nToPage = pd.nMaxPage;
    if (!Seam<ICommonDialogs>().Print(pd) || !pd.hDC)
        return false;
    KeepSettings(pd);
    HDC dc = pd.hDC;
    int from = minPage;
    int to = maxPage;
    if (pd.Flags & PD_PAGENUMS) {
        from = pd.nFromPage < minPage ? minPage : pd.nFromPage;
        to = pd.nToPage > maxPage ? maxPage : pd.nToPage;
    }
    const RECT printable{0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = documentName.c_str();
    CBusyState busy(owner);
    bool ok = StartDocA(dc, &info) > 0;
    for (int page = from; ok && page <= to; ++page) {
        ok = StartPage(dc) > 0;
        if (ok) {
            drawPage(dc, page, printable);
            ok = EndPage(dc) > 0;
        }
    }
    if (ok)
        EndDoc(dc);
    else
        AbortDoc(dc);
    DeleteDC(dc);
    return ok;
}

void PrintSetup(HWND owner) {
    PRINTDLGA pd = Dialog(owner, PD_PRINTSETUP);
    if (Seam<ICommonDialogs>().Print(pd))
        KeepSettings(pd);
    if (pd.hDC)
        DeleteDC(pd.hDC);
}
