#include "viewer/SendHandOff.h"

#include <optional>
#include <vector>

#include "common/SpoolerHandOff.h"
#include "common/core/AddressRecord.h"
#include "common/core/SuiteFolders.h"
#include "framework/BusyState.h"
#include "framework/FileErrors.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "viewer/PhoneBook.h"
#include "viewer/SmhFile.h"
#include "viewer/resource.h"

namespace {
void Exclaim(HWND owner, UINT id) {
    AppMessageBox(owner, LoadResString(id), MB_OK | MB_ICONEXCLAMATION);
}

// Reports a document that cannot be opened for reading with the framework's file-error report.
bool IsReadable(HWND owner, const std::string& document) {
    const HANDLE handle = CreateFileA(document.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (CKernelHandle(handle))
        return true;
    ReportOpenError(owner, document, error);
    return false;
}

void ExclaimFile(HWND owner, UINT id, const std::string& name) {
    AppMessageBox(owner, FormatResString(id, name), MB_OK | MB_ICONEXCLAMATION);
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
    const unsigned long long room = static_cast<unsigned long long>(bytesPerSector) * sectorsPerCluster * freeClusters;
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
    // A document that has gone is reported as such; the room check would blame the disk.
    bool ok = IsReadable(mainWindow, document);
    if (ok && !HasRoomForCopies(document, recvFolder, static_cast<unsigned>(count))) {
        Exclaim(mainWindow, IDS_NO_DISK_SPACE);
        ok = false;
    }
    // From here to the broadcast the job runs in front of the user, and nothing else may start.
    std::optional<CBusyState> busy;
    if (ok)
        busy.emplace(mainWindow);
    const std::string list = FileInFolder(recvFolder, kJobListName);
    bool listed = false;
    for (int i = 0; ok && i < count; ++i) {
        const std::string name = "xmitfax" + std::to_string(i) + ".smh";
        const std::string copy = FileInFolder(recvFolder, name);
        const AddressRecord& destination = chosen[static_cast<size_t>(i)];
        // A header that cannot be patched does not stop the job; a copy that cannot be made skips its destination.
        if (CopySmhWithHeader(document, copy, 2, destination.name, destination.phone) == SmhCopy::kNotCopied) {
            ExclaimFile(mainWindow, IDS_CANNOT_OPEN_FILE, name);
            continue;
        }
        ok = WriteJobList(mainWindow, list, copy + "\n", listed);
        listed = ok;
        if (ok && i > 0)
            Progress(mainWindow, static_cast<WPARAM>(i) * 100 / static_cast<WPARAM>(count));
    }
    ok = ok && listed;
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
    if (!IsReadable(mainWindow, document))
        return false;
    CBusyState busy(mainWindow);
    const std::string name = "xmitfaxtemp.smh";
    const std::string copy = FileInFolder(recvFolder, name);
    if (CopySmhWithHeader(document, copy, 3, nullptr, nullptr) == SmhCopy::kNotCopied) {
        ExclaimFile(mainWindow, IDS_CANNOT_OPEN_FILE, name);
        return false;
    }
    if (!WriteJobList(mainWindow, FileInFolder(recvFolder, kJobListName), copy, false))
        return false;
    StartSpooler();
    HandToSpooler(mainWindow);
    return true;
}
