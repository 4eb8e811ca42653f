#include "tools/process/InstalledSpooler.h"

#include <windows.h>

#include "framework/testing/TempFolder.h"
#include "tools/process/RemoteControl.h"

namespace {
constexpr char kSpoolerClass[] = "MiroloKdmsplWnd";
}  // namespace

std::string CInstalledSpooler::Path() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    return std::string(system) + "\\kdmspl.exe";
}

void CInstalledSpooler::EndRunning() {
    if (HWND window = FindWindowA(kSpoolerClass, nullptr))
        CRunningProgram::Of(window).End();
}

CInstalledSpooler::CInstalledSpooler() {
    EndRunning();
    m_wasThere = FileExists(Path());
    // A copy still in use by a spooler some other program started cannot be replaced, but may be this one.
    const std::string built = BuiltProgram("kdmspl.exe");
    m_installed = CopyFileA(built.c_str(), Path().c_str(), FALSE) || ReadFileBytes(Path()) == ReadFileBytes(built);
}

CInstalledSpooler::~CInstalledSpooler() {
    EndRunning();
    if (!m_wasThere)
        DeleteFileA(Path().c_str());
}
