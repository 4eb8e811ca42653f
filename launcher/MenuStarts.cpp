#include <windows.h>
#include <commdlg.h>

#include <string>

#include "framework/CommonDialogs.h"
#include "framework/Resources.h"
#include "framework/Seam.h"
#include "framework/Shell.h"
#include "framework/core/TextFormat.h"
#include "launcher/LauncherApp.h"
#include "launcher/MenuDlg.h"
#include "launcher/core/MenuLayout.h"
#include "launcher/resource.h"

namespace {
std::string WindowsDrive() {
    char windows[256] = {};
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows)
        return std::string();
    return DrivePart(windows);
}

// The 8.3 form keeps spaces out of the single command-line argument. A log that does not exist yet has no
// short form; its full path is then passed in quotes.
std::string ShortPathArgument(const std::string& path) {
    char shortPath[256] = {};
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    if (length == 0 || length >= sizeof shortPath)
        return "\"" + path + "\"";
    return shortPath;
}
}  // namespace

void CMenuDlg::ApplyCurrentDirectoryRule() {
    std::string drive = WindowsDrive();
    if (!drive.empty())
        SetCurrentDirectoryA((drive + "\\").c_str());
    else
        SetCurrentDirectoryA(m_app.ProgramFolder().c_str());
}

void CMenuDlg::StartProgram(const char* exeName, const char* logName, bool setCurrentDirectory) {
    if (setCurrentDirectory)
        ApplyCurrentDirectoryRule();
    std::string program = m_app.ProgramFolder() + exeName;
    std::string argument;
    if (logName)
        argument = ShortPathArgument(m_app.LogFolder() + logName);
    Seam<IShell>().Open(m_hWnd, program.c_str(), logName ? argument.c_str() : nullptr, nullptr, SW_SHOW);
}

void CMenuDlg::OpenDocument() {
    ApplyCurrentDirectoryRule();
    std::string filter = FilterFromResource(LoadResString(IDS_DOC_FILTER));
    std::string drive = WindowsDrive();
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = drive.empty() ? nullptr : drive.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NONETWORKBUTTON;
    if (!Seam<ICommonDialogs>().OpenFile(ofn))
        return;
    Seam<IShell>().Open(m_hWnd, file, nullptr, nullptr, SW_SHOW);
}
