#include "tools/process/RemoteControl.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "tools/process/ProcessWindows.h"

namespace {
struct WindowSearch {
    DWORD pid;
    std::string caption;
    bool prefix;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    const std::string caption = WindowText(hwnd);
    const bool matches = search->prefix ? caption.rfind(search->caption, 0) == 0 : caption == search->caption;
    if (owner == search->pid && IsWindowVisible(hwnd) && matches) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK DescribeWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<std::pair<DWORD, std::string*>*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->first && IsWindowVisible(hwnd)) {
        *search->second += " [" + WindowText(hwnd);
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            *search->second += " | " + WindowText(child);
        *search->second += "]";
    }
    return TRUE;
}
}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

HWND VisibleWindow(DWORD pid, const std::string& caption, bool prefix) {
    WindowSearch search{pid, caption, prefix, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Showing(DWORD pid) {
    std::string windows;
    std::pair<DWORD, std::string*> search{pid, &windows};
    EnumWindows(&DescribeWindow, reinterpret_cast<LPARAM>(&search));
    return windows.empty() ? " nothing" : windows;
}

WORD ControlKeyCommand(const std::string& program, WORD accelerators, WORD key) {
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return 0;
    WORD command = 0;
    if (HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(accelerators))) {
        const int count = CopyAcceleratorTableA(table, nullptr, 0);
        std::vector<ACCEL> entries(static_cast<size_t>(count));
        CopyAcceleratorTableA(table, entries.data(), count);
        for (const ACCEL& entry : entries) {
            if (entry.key == key && (entry.fVirt & (FVIRTKEY | FCONTROL | FALT | FSHIFT)) == (FVIRTKEY | FCONTROL))
                command = entry.cmd;
        }
        DestroyAcceleratorTable(table);
    }
    FreeLibrary(module);
    return command;
}

CRemoteMemory::CRemoteMemory(HANDLE process, size_t size)
    : m_process(process),
      m_address(static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}

CRemoteMemory::~CRemoteMemory() {
    if (m_address)
        VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
}

bool CRemoteMemory::Put(size_t offset, const void* data, size_t size) const {
    SIZE_T written = 0;
    return m_address && WriteProcessMemory(m_process, m_address + offset, data, size, &written) && written == size;
}

bool CRemoteMemory::Get(size_t offset, void* data, size_t size) const {
    SIZE_T read = 0;
    return m_address && ReadProcessMemory(m_process, m_address + offset, data, size, &read) && read == size;
}

std::string RemoteCell(HANDLE process, HWND list, int row, int column) {
    CRemoteMemory memory(process, sizeof(LVITEMA) + 256);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = memory.Address() + sizeof item;
    item.cchTextMax = 256;
    char text[256] = {};
    if (!memory.Put(0, &item, sizeof item) || !memory.Put(sizeof item, text, sizeof text))
        return {};
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.Address()));
    memory.Get(sizeof item, text, sizeof text - 1);
    return text;
}

bool RemoteSelect(HANDLE process, HWND list, int row) {
    CRemoteMemory memory(process, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    return memory.Put(0, &item, sizeof item) &&
           SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.Address()));
}

RECT RemoteRowRect(HANDLE process, HWND list, int row) {
    CRemoteMemory memory(process, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!memory.Put(0, &rect, sizeof rect) ||
        !SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.Address())) ||
        !memory.Get(0, &rect, sizeof rect))
        return {};
    return rect;
}

namespace {
CRunningProgram StartWith(std::string commandLine, DWORD flags) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi))
        return {};
    return CRunningProgram(pi);
}
}  // namespace

CRunningProgram CRunningProgram::Start(std::string commandLine) {
    return StartWith(std::move(commandLine), 0);
}

CRunningProgram CRunningProgram::StartSuspended(std::string commandLine) {
    return StartWith(std::move(commandLine), CREATE_SUSPENDED);
}

CRunningProgram CRunningProgram::Of(HWND window) {
    PROCESS_INFORMATION pi{};
    pi.dwThreadId = GetWindowThreadProcessId(window, &pi.dwProcessId);
    pi.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pi.dwProcessId);
    return CRunningProgram(pi);
}

DWORD CRunningProgram::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_pi.hProcess)
        GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void CRunningProgram::End() {
    if (m_pi.hProcess)
        EndProgram(m_pi, 10000);
    m_pi = {};
}

std::string BuiltProgram(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}
