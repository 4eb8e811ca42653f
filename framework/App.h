#pragma once
#include <windows.h>

#include <string>

#include "framework/CmdTarget.h"
#include "framework/Profile.h"

// The application object: one per program. Run() performs the start-up (InitInstance), the message loop while
// a main window exists, and the shut-down (ExitInstance).
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    int Run(HINSTANCE instance, const char* commandLine);

    HINSTANCE Instance() const { return m_instance; }
    const std::string& CommandLine() const { return m_commandLine; }
    // The command line's first argument as the shell splits it (quotes removed), in the ANSI code page; empty
    // when there is none.
    static std::string FirstArgument();
    HWND MainWindow() const { return m_mainWindow; }
    void SetMainWindow(HWND hwnd) { m_mainWindow = hwnd; }

    // Defaults to the executable's base name.
    const std::string& AppName() const { return m_appName; }
    void SetAppName(std::string name) { m_appName = std::move(name); }

    void SetRegistryKey(std::string key) { m_registryKey = std::move(key); }
    void SetProfileName(std::string name) { m_profileName = std::move(name); }
    CRegistryProfile Profile() const { return CRegistryProfile(m_registryKey, m_profileName); }

    const std::string& HelpPath() const { return m_helpPath; }
    void SetHelpPath(std::string path) { m_helpPath = std::move(path); }
    BOOL ShowHelp(ULONG_PTR data, UINT command);

protected:
    // Return FALSE to end the program without a message loop.
    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance() { return m_exitCode; }
    // Called for each message before it is dispatched; true when it was handled (e.g. as an accelerator).
    virtual bool PreTranslateMessage(MSG& /*msg*/) { return false; }
    // Called while the queue is empty; `count` counts the calls since the last message. True asks for more.
    virtual bool OnIdle(int /*count*/) { return false; }
    void SetExitCode(int code) { m_exitCode = code; }

private:
    HINSTANCE m_instance = nullptr;
    std::string m_commandLine;
    HWND m_mainWindow = nullptr;
    std::string m_appName;
    std::string m_registryKey;
    std::string m_profileName;
    std::string m_helpPath;
    int m_exitCode = 0;
};

// The running program's application object, or null before one exists.
CWinApp* TheApp();
