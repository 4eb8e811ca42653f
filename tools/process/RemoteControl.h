#pragma once
#include <windows.h>

#include <functional>
#include <string>

// For process tests: driving another program's windows as a user would, and waiting on what it does.

// Polls until `done` holds or the time is up; what is waited for is a window or a file of another process.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000);

std::string WindowText(HWND hwnd);

// A visible top-level window of the process whose caption is `caption` (or starts with it).
HWND VisibleWindow(DWORD pid, const std::string& caption, bool prefix = false);

// What a process shows, for the failure message when the window waited for does not come.
std::string Showing(DWORD pid);

// The command a program's accelerator table gives Ctrl + `key`, so a test presses what the user presses.
WORD ControlKeyCommand(const std::string& program, WORD accelerators, WORD key);

// Memory inside another process for the list-view messages, whose pointers the receiving process reads as its own.
class CRemoteMemory {
public:
    CRemoteMemory(HANDLE process, size_t size);
    ~CRemoteMemory();
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    char* Address() const { return m_address; }
    bool Put(size_t offset, const void* data, size_t size) const;
    bool Get(size_t offset, void* data, size_t size) const;

private:
    HANDLE m_process;
    char* m_address;
};

std::string RemoteCell(HANDLE process, HWND list, int row, int column);
bool RemoteSelect(HANDLE process, HWND list, int row);
// The row's whole rectangle in the list's client coordinates; empty when there is no such row.
RECT RemoteRowRect(HANDLE process, HWND list, int row);

// A running program to end whatever the test's outcome: asked to close first, ended if it does not.
class CRunningProgram {
public:
    CRunningProgram() = default;
    explicit CRunningProgram(const PROCESS_INFORMATION& pi) : m_pi(pi) {}
    ~CRunningProgram() { End(); }
    CRunningProgram(const CRunningProgram&) = delete;
    CRunningProgram& operator=(const CRunningProgram&) = delete;
    CRunningProgram(CRunningProgram&& other) noexcept : m_pi(other.m_pi) { other.m_pi = {}; }

    // Starts `commandLine`; an empty object when it could not start.
    static CRunningProgram Start(std::string commandLine);
    // Started but held before its first instruction until Resume: the process is made ahead of the moment it
    // must act in.
    static CRunningProgram StartSuspended(std::string commandLine);
    void Resume() const { ResumeThread(m_pi.hThread); }
    static CRunningProgram Of(HWND window);

    DWORD Id() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }
    bool Ended(DWORD ms) const { return WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() const;
    void End();

private:
    PROCESS_INFORMATION m_pi{};
};

// A program built beside the running test.
std::string BuiltProgram(const char* name);
