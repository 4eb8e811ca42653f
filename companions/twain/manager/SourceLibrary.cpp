#include "companions/twain/manager/SourceLibrary.h"

#include <algorithm>
#include <cstring>

namespace {
// Deeper than any maker's folder goes; a bound against links that loop.
constexpr int kMaxFolderDepth = 8;

bool HasSourceSuffix(const char* name) {
    const size_t length = std::strlen(name);
    return length > 3 && lstrcmpiA(name + length - 3, ".ds") == 0;
}

void CollectSourceFiles(const std::string& folder, int depth, std::vector<std::string>& paths) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string path = folder + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const bool dots = std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0;
            if (!dots && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && depth < kMaxFolderDepth)
                CollectSourceFiles(path, depth + 1, paths);
        } else if (HasSourceSuffix(found.cFileName)) {
            paths.push_back(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void Terminate(TW_STR32& text) {
    text[sizeof text - 1] = '\0';
}
}  // namespace

CSourceLibrary::CSourceLibrary(const std::string& path) {
    // A broken library must not stop the manager with a system message box.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    m_module = LoadLibraryA(path.c_str());
    SetThreadErrorMode(oldMode, nullptr);
    if (m_module)
        m_entry = reinterpret_cast<DSENTRYPROC>(reinterpret_cast<void*>(GetProcAddress(m_module, "DS_Entry")));
}

CSourceLibrary::~CSourceLibrary() {
    if (m_module)
        FreeLibrary(m_module);
}

std::string SourceFolder() {
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return {};
    std::string path(folder, length);
    if (path.back() != '\\')
        path += '\\';
    return path + "twain_32";
}

std::vector<std::string> FindSourceFiles(const std::string& folder) {
    std::vector<std::string> paths;
    if (!folder.empty())
        CollectSourceFiles(folder, 0, paths);
    // The file system's order is no order: the first source found must be the same on every scan.
    std::sort(paths.begin(), paths.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return paths;
}

bool ProbeSource(const std::string& path, TW_IDENTITY* application, TW_IDENTITY& identity) {
    CSourceLibrary library(path);
    if (!library)
        return false;
    identity = {};
    if (library.Call(application, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity) != TWRC_SUCCESS)
        return false;
    // The names go into list boxes and string compares: a source that fills all 34 bytes gets no overrun.
    Terminate(identity.Version.Info);
    Terminate(identity.Manufacturer);
    Terminate(identity.ProductFamily);
    Terminate(identity.ProductName);
    return true;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string DefaultSourcePath() {
    char path[MAX_PATH] = {};
    GetProfileStringA("TWAIN", "Default Source", "", path, sizeof path);
    return path;
}

void SetDefaultSourcePath(const std::string& path) {
    WriteProfileStringA("TWAIN", "Default Source", path.c_str());
}
