#include "viewer/SendHandOff.h"

#include <cstdio>
#include <vector>

#include "common/core/AddressRecord.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "viewer/PhoneBook.h"
#include "viewer/SmhFile.h"
#include "viewer/resource.h"

namespace {
constexpr char kJobList[] = "RESEND.TMP";
constexpr char kResendMessage[] = "WM_MESSAGE_OF_KDM-540_RESEND";
constexpr UINT kWaitMs = 2000;
constexpr UINT_PTR kWaitTimer = 0x4B44;  // "KD"
constexpr DWORD kSpoolerReadyMs = 60000;

std::string InFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() != '\\')
        return folder + "\\" + name;
    return folder + name;
}

void Exclaim(HWND owner, UINT id) {
    AppMessageBox(owner, LoadResString(id), MB_OK | MB_ICONEXCLAMATION);
}

void ExclaimFile(HWND owner, UINT id) {
    AppMessageBox(owner, FormatResString(id, kJobList), MB_OK | MB_ICONEXCLAMATION);
}

// Writes one path to the job list, replacing or appending. False after a message, or silently when the write
// itself failed.
bool WriteJobLine(HWND owner, const std::string& list, const std::string& text, bool append) {
    FILE* file = fopen(list.c_str(), append ? "at" : "wt");
    if (!file) {
        ExclaimFile(owner, IDS_CANNOT_OPEN_FILE);
        return false;
    }
    const bool written = fputs(text.c_str(), file) >= 0;
    const bool closed = fclose(file) == 0;
    if (!written)
        return false;
    if (!closed) {
        ExclaimFile(owner, IDS_CANNOT_CLOSE_FILE);
        return false;
    }
    return true;
}

void StartSpooler() {
    char system[256] = {};
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system)
        return;
    std::string program = InFolder(system, "kdmspl.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &process))
        return;
    WaitForInputIdle(process.hProcess, kSpoolerReadyMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool g_waitDone = false;

void CALLBACK OnWaitTimer(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    g_waitDone = true;
}

// Gives the spooler time to read the list while the window stays alive.
void WaitKeepingWindowAlive(HWND mainWindow) {
    g_waitDone = false;
    const UINT_PTR timer = SetTimer(mainWindow, kWaitTimer, kWaitMs, &OnWaitTimer);
    if (!timer) {
        Sleep(kWaitMs);
        return;
    }
    MSG msg;
    while (!g_waitDone && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (!g_waitDone)
        PostQuitMessage(static_cast<int>(msg.wParam));  // the loop that asked to end must see it
}

void HandToSpooler(HWND mainWindow) {
    WaitKeepingWindowAlive(mainWindow);
    SendMessageA(HWND_BROADCAST, RegisterWindowMessageA(kResendMessage), 0, 0);
}

void Progress(HWND mainWindow, WPARAM percent) {
    if (mainWindow && IsWindow(mainWindow))
        SendMessageA(mainWindow, WM_STATUS_PROGRESS, percent, 0);
}

// The phone book's own block of records is released once they are read; a lock that is already gone is fine.
bool ReleaseRecords(HWND owner, HGLOBAL block) {
    SetLastError(ERROR_SUCCESS);
    while (GlobalUnlock(block)) {
    }
    const DWORD error = GetLastError();
    if (error != ERROR_SUCCESS && error != ERROR_NOT_LOCKED) {
        GlobalFree(block);
        Exclaim(owner, IDS_CANNOT_UNLOCK);
        return false;
    }
    if (GlobalFree(block)) {
        Exclaim(owner, IDS_CANNOT_FREE);
        return false;
    }
    return true;
}
}  // namespace

bool HasRoomForCopies(const std::string& file, const std::string& folder, unsigned copies) {
    CKernelHandle handle(
        CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!handle || !GetFileSizeEx(handle.Get(), &size))
        return false;
    handle.Reset();
    if (folder.size() < 2 || folder[1] != ':')
        return false;
    const std::string root = folder.substr(0, 2) + "\\";
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return false;
    const unsigned long long needed = static_cast<unsigned long long>(size.QuadPart) * copies;
    const unsigned long long room =
        static_cast<unsigned long long>(bytesPerSector) * sectorsPerCluster * freeClusters;
    return needed < room;
}

bool SendFax(HWND mainWindow, const std::string& document, const std::string& recvFolder, IPhoneBook& phoneBook) {
    int count = 0;
    if (phoneBook.OpenPhone(&count) != 0 || count <= 0)
        return false;
    const SIZE_T bytes = static_cast<SIZE_T>(count) * sizeof(AddressRecord);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DISCARDABLE, bytes);
    if (!block) {
        Exclaim(mainWindow, IDS_CANNOT_ALLOCATE);
        return false;
    }
    auto* records = static_cast<AddressRecord*>(GlobalLock(block));
    if (!records) {
        GlobalFree(block);
        Exclaim(mainWindow, IDS_CANNOT_LOCK);
        return false;
    }
    const int result = phoneBook.GetNameandPhone(records);
    if (result != 0) {
        if (result == 4)
            Exclaim(mainWindow, IDS_CANNOT_UNLOCK);
        else if (result == 5)
            Exclaim(mainWindow, IDS_CANNOT_FREE);
        GlobalUnlock(block);
        GlobalFree(block);
        return false;
    }
    // The library's strings are terminated within their fields; a record that is not stays within them.
    std::vector<AddressRecord> chosen(records, records + count);
    for (AddressRecord& record : chosen) {
        record.phone[sizeof record.phone - 1] = '\0';
        record.name[sizeof record.name - 1] = '\0';
    }
    bool ok = HasRoomForCopies(document, recvFolder, static_cast<unsigned>(count));
    if (!ok)
        Exclaim(mainWindow, IDS_NO_DISK_SPACE);
    const std::string list = InFolder(recvFolder, kJobList);
    for (int i = 0; ok && i < count; ++i) {
        const std::string copy = InFolder(recvFolder, "xmitfax" + std::to_string(i) + ".smh");
        // A header that cannot be patched does not stop the job.
        CopySmhWithHeader(document, copy, 2, chosen[static_cast<size_t>(i)].name,
                          chosen[static_cast<size_t>(i)].phone);
        ok = WriteJobLine(mainWindow, list, copy + "\n", i > 0);
        if (ok && i > 0)
            Progress(mainWindow, static_cast<WPARAM>(i) * 100 / static_cast<WPARAM>(count));
    }
    if (ok) {
        StartSpooler();
        Progress(mainWindow, 100);
    }
    if (!ReleaseRecords(mainWindow, block) || !ok)
        return false;
    HandToSpooler(mainWindow);
    return true;
}

bool SendPrint(HWND mainWindow, const std::string& document, const std::string& recvFolder) {
    const std::string copy = InFolder(recvFolder, "xmitfaxtemp.smh");
    CopySmhWithHeader(document, copy, 3, nullptr, nullptr);
    if (!WriteJobLine(mainWindow, InFolder(recvFolder, kJobList), copy, false))
        return false;
    StartSpooler();
    HandToSpooler(mainWindow);
    return true;
}
