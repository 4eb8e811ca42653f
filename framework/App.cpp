#include "framework/App.h"

#include <shellapi.h>

#include "framework/Help.h"
#include "framework/Seam.h"

namespace {
CWinApp* g_app = nullptr;

std::string ModuleBaseName() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, length < sizeof path ? length : 0);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}
}  // namespace

CWinApp::CWinApp() : m_appName(ModuleBaseName()), m_profileName(m_appName) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* TheApp() {
    return g_app;
}

int CWinApp::Run(HINSTANCE instance, const char* commandLine) {
    m_instance = instance;
    m_commandLine = commandLine ? commandLine : "";
    if (!InitInstance())
        return ExitInstance();
    MSG msg{};
    bool idle = true;
    int idleCount = 0;
    for (;;) {
        while (idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            idle = OnIdle(idleCount++);
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            break;
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // Painting and timers change no command's state; everything else may.
        if (msg.message != WM_PAINT && msg.message != WM_TIMER) {
            idle = true;
            idleCount = 0;
        }
    }
    m_exitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

BOOL CWinApp::ShowHelp(ULONG_PTR data, UINT command) {
    return Seam<IHelpEngine>().ShowHelp(m_mainWindow, m_helpPath.c_str(), command, data);
}

std::string CWinApp::FirstArgument() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string argument;
    if (words && count > 1) {
        const int size = WideCharToMultiByte(CP_ACP, 0, words[1], -1, nullptr, 0, nullptr, nullptr);
        if (size > 1) {
            argument.resize(static_cast<size_t>(size));
            WideCharToMultiByte(CP_ACP, 0, words[1], -1, argument.data(), size, nullptr, nullptr);
            argument.resize(static_cast<size_t>(size) - 1);
        }
    }
    LocalFree(words);
    return argument;
}
