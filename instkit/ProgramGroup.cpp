#include <windows.h>
#include <shlobj.h>

#include <string>

#include "instkit/Instkit.h"
#include "instkit/InstkitState.h"
#include "instkit/core/GroupName.h"

using namespace instkit;

namespace {
// Programs folder\group, or empty when it does not fit a path.
std::string GroupPath(LPCSTR groupName) {
    char programs[MAX_PATH] = {};
    if (!groupName || !IsGroupName(groupName) || !SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE))
        return {};
    std::string path = std::string(programs) + "\\" + groupName;
    return path.size() < MAX_PATH ? path : std::string();
}

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Into the recycle bin, folders with their contents; an uninstall asks nothing more.
void DeleteToRecycleBin(HWND owner, const std::string& path) {
    std::string from = path;
    from.push_back('\0');  // the list ends with an empty name; c_str() adds the second NUL
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_ALLOWUNDO | FOF_NOCONFIRMATION;
    SHFileOperationA(&operation);
}
}  // namespace

extern "C" DWORD WINAPI CreateGroup32(LPCSTR groupName) {
    try {
        std::string& group = State().groupPath;
        group = GroupPath(groupName);
        if (!group.empty()) {
            CreateDirectoryA(group.c_str(), nullptr);
            SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA, group.c_str(), nullptr);
        }
    } catch (const std::bad_alloc&) {
    }
    return 1;
}

extern "C" HRESULT WINAPI AddItem32(LPCSTR targetPath, LPCSTR description) {
    try {
        const std::string& group = State().groupPath;
        if (group.empty() || !description)
            return E_INVALIDARG;
        const std::string file = group + "\\" + description + ".lnk";
        wchar_t widePath[MAX_PATH] = {};
        if (!MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, widePath, MAX_PATH))
            return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);

        IShellLinkA* link = nullptr;
        HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                          reinterpret_cast<void**>(&link));
        if (FAILED(result))
            return result;
        link->SetPath(targetPath ? targetPath : "");
        link->SetDescription(description);
        IPersistFile* persist = nullptr;
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
        if (SUCCEEDED(result)) {
            result = persist->Save(widePath, TRUE);
            persist->Release();
        }
        link->Release();
        return result;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

extern "C" BOOL WINAPI DeleteGroup32(HWND owner, LPCSTR groupName) {
    try {
        std::string& group = State().groupPath;
        group = GroupPath(groupName);
        if (group.empty())
            return FALSE;
        WIN32_FIND_DATAA entry{};
        HANDLE search = FindFirstFileA((group + "\\*.*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!IsDotEntry(entry.cFileName))
                    DeleteToRecycleBin(owner, group + "\\" + entry.cFileName);
            } while (FindNextFileA(search, &entry));
            FindClose(search);
        }
        return RemoveDirectoryA(group.c_str());
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}
