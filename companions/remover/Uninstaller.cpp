#include "companions/remover/Uninstaller.h"

#include <cstring>

#include "companions/remover/PrinterRemoval.h"
#include "companions/remover/core/UninstallPlan.h"
#include "companions/remover/resource.h"
#include "framework/Resources.h"
#include "framework/core/TextFormat.h"

namespace {
HKEY RootKey(uint32_t root) {
    switch (root) {
    case setup::kClassesRoot:
        return HKEY_CLASSES_ROOT;
    case setup::kCurrentUser:
        return HKEY_CURRENT_USER;
    default:
        return HKEY_LOCAL_MACHINE;
    }
}

const char* RootName(uint32_t root) {
    switch (root) {
    case setup::kClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case setup::kCurrentUser:
        return "HKEY_CURRENT_USER";
    default:
        return "HKEY_LOCAL_MACHINE";
    }
}

bool IsGone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// What Windows answers for a file another program holds open, and for a running program's own file.
bool IsInUse(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool IsNamed(const std::string& path, const char* lowerName) {
    const std::string folder = remover::FolderOf(path);
    return LowerAscii(folder.empty() ? path : path.substr(folder.size() + 1)) == lowerName;
}

// Whether the INI file still has the entry or, without a key, any entry in the section. Deleting what is not
// there fails for a WIN.INI section that Windows keeps in the registry.
bool IniHolds(const std::string& file, const std::string& section, const char* key) {
    constexpr char kAbsent[] = "\x01";
    char value[4096] = {};
    const DWORD length =
        GetPrivateProfileStringA(section.c_str(), key, key ? kAbsent : "", value, sizeof value, file.c_str());
    return key ? strcmp(value, kAbsent) != 0 : length > 0;
}

// Volume and file index name a file whatever the spelling of its path (short names, letter case).
struct FileId {
    bool valid = false;
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileId&) const = default;
};

FileId IdOf(const std::string& path) {
    FileId id;
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return id;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info))
        id = {true, info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    CloseHandle(file);
    return id;
}

std::string Folder(UINT(WINAPI* query)(LPSTR, UINT)) {
    char folder[MAX_PATH] = {};
    const UINT length = query(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : "";
}
}  // namespace

void CUninstaller::Remove(const std::vector<setup::UninstallRecord>& records) {
    for (size_t i = 0; i < records.size(); ++i)
        RemoveRecord(i + 1, records[i]);
    FinishOwnFolder();
}

void CUninstaller::RemoveRecord(size_t number, const setup::UninstallRecord& record) {
    if (!remover::IsUsableRecord(record) || (record.type == setup::kUninstallFolder && IsSystemFolder(record.path))) {
        m_failed.push_back(FormatResString(IDS_ITEM_BAD_RECORD, std::to_string(number)));
        return;
    }
    switch (record.type) {
    case setup::kUninstallFile:
        RemoveFile(record.path);
        break;
    case setup::kUninstallFolder:
        RemoveFolder(record.path);
        break;
    case setup::kUninstallIniEntry:
        RemoveIniEntry(record);
        break;
    case setup::kUninstallIniSection:
        RemoveIniSection(record.path);
        break;
    case setup::kUninstallRegistryKey:
        RemoveKey(record.root, record.path);
        break;
    }
}

// A file in use cannot go now; Windows deletes it at the next restart instead.
bool CUninstaller::RemoveFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES && IsGone(GetLastError()))
        return true;
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (attributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if (DeleteFileA(path.c_str()))
            return true;
        if (IsInUse(GetLastError()) && MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            m_atRestart.push_back(path);
            return true;
        }
    }
    m_failed.push_back(path);
    return false;
}

void CUninstaller::RemoveFolder(const std::string& path) {
    const std::string folder = remover::WithoutTrailingSeparators(path);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES && IsGone(GetLastError()))
        return;
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_failed.push_back(folder);
        return;
    }
    switch (ClearFolder(folder)) {
    case Leftover::kNothing:
        RemoveEmptyFolder(folder);
        break;
    case Leftover::kUserFiles:
        m_kept.push_back(folder);
        break;
    case Leftover::kFailures:  // each is listed already
        break;
    }
}

// Everything in the folder goes except the user's files. A linked folder inside is unlinked, not followed.
CUninstaller::Leftover CUninstaller::ClearFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        m_failed.push_back(folder);
        return Leftover::kFailures;
    }
    bool userFiles = false;
    bool failures = false;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const Leftover left =
                (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? Leftover::kNothing : ClearFolder(path);
            if (left == Leftover::kNothing)
                failures = !RemoveEmptyFolder(path) || failures;
            userFiles = userFiles || left == Leftover::kUserFiles;
            failures = failures || left == Leftover::kFailures;
        } else if (remover::IsUserDataFile(name)) {
            userFiles = true;
        } else {
            failures = !RemoveFile(path) || failures;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return failures ? Leftover::kFailures : userFiles ? Leftover::kUserFiles : Leftover::kNothing;
}

// A folder that still holds files waiting for the restart (or that another program has open) goes at the
// restart too, after them.
bool CUninstaller::RemoveEmptyFolder(const std::string& folder) {
    if (RemoveDirectoryA(folder.c_str()))
        return true;
    const DWORD error = GetLastError();
    if (IsGone(error))
        return true;
    if ((error == ERROR_DIR_NOT_EMPTY || IsInUse(error)) &&
        MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        m_atRestart.push_back(folder);
        return true;
    }
    m_failed.push_back(folder);
    return false;
}

void CUninstaller::RemoveKey(uint32_t root, const std::string& subkey) {
    const LSTATUS status = RegDeleteTreeA(RootKey(root), subkey.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        m_failed.push_back(std::string(RootName(root)) + "\\" + subkey);
}

// On Windows NT the "Devices" section of WIN.INI is the list of the spooler's printers: the printer an entry
// there names goes with the entry.
void CUninstaller::RemoveIniEntry(const setup::UninstallRecord& record) {
    const char* key = record.key.empty() ? nullptr : record.key.c_str();
    if (!WritePrivateProfileStringA(record.section.c_str(), key, nullptr, record.path.c_str()) &&
        IniHolds(record.path, record.section, key))
        m_failed.push_back(record.path + " [" + record.section + "]" + (key ? " " + record.key : ""));
    if (key && IsNamed(record.path, "win.ini") && LowerAscii(record.section) == "devices" &&
        !RemoveDevicePrinter(record.key))
        m_failed.push_back(FormatResString(IDS_ITEM_PRINTER, record.key));
}

void CUninstaller::RemoveIniSection(const std::string& section) {
    if (!WriteProfileStringA(section.c_str(), nullptr, nullptr) && IniHolds("win.ini", section, nullptr))
        m_failed.push_back("WIN.INI [" + section + "]");
}

// Damaged data could name the Windows or the system folder; neither is ever emptied.
bool CUninstaller::IsSystemFolder(const std::string& folder) const {
    const std::string lower = LowerAscii(remover::WithoutTrailingSeparators(folder));
    return lower == LowerAscii(Folder(&GetWindowsDirectoryA)) || lower == LowerAscii(Folder(&GetSystemDirectoryA));
}

bool CUninstaller::IsScheduled(const std::string& path) const {
    const FileId id = IdOf(path);
    if (!id.valid)
        return false;
    for (const std::string& scheduled : m_atRestart) {
        if (IdOf(scheduled) == id)
            return true;
    }
    return false;
}

// This program's own file is among the records and, running, waits for the restart. Its folder, the install
// folder, which no record lists, then goes at the restart too when nothing else is left in it; when the address
// book keeps it, it is named with the other kept folders.
void CUninstaller::FinishOwnFolder() {
    char self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self || !IsScheduled(self))
        return;
    const std::string folder = remover::FolderOf(self);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    bool onlyScheduled = true;
    bool userFiles = false;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        onlyScheduled = onlyScheduled && IsScheduled(folder + "\\" + name);
        userFiles =
            userFiles || (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && remover::IsUserDataFile(name));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    if (userFiles) {
        m_kept.insert(m_kept.begin(), folder);
    } else if (onlyScheduled) {
        if (MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
            m_atRestart.push_back(folder);
        else
            m_failed.push_back(folder);
    }
}
