#pragma once
#include <string>
#include <vector>

#include "common/Twain.h"

// A data source's library while the manager holds it: the module and its DS_Entry. Freed with the object.
class CSourceLibrary {
public:
    explicit CSourceLibrary(const std::string& path);
    ~CSourceLibrary();
    CSourceLibrary(const CSourceLibrary&) = delete;
    CSourceLibrary& operator=(const CSourceLibrary&) = delete;

    explicit operator bool() const { return m_entry != nullptr; }
    HMODULE Module() const { return m_module; }
    DSENTRYPROC Entry() const { return m_entry; }
    TW_UINT16 Call(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) const {
        return m_entry(origin, group, type, message, data);
    }

private:
    HMODULE m_module = nullptr;
    DSENTRYPROC m_entry = nullptr;
};

// A data source found on disk: the full path of its library and the identity it answered.
struct SourceFile {
    std::string path;
    TW_IDENTITY identity;
};

// <Windows>\twain_32, under which data sources are installed, each in a folder of its maker's.
std::string SourceFolder();
// The *.ds files under `folder` and its subfolders, full paths in name order.
std::vector<std::string> FindSourceFiles(const std::string& folder);
// Loads the library and asks its identity for `application`; false when it is no data source that can run here.
bool ProbeSource(const std::string& path, TW_IDENTITY* application, TW_IDENTITY& identity);
bool SamePath(const std::string& a, const std::string& b);

// The user's default source, the full path of its library, kept in win.ini as Windows' manager keeps it.
std::string DefaultSourcePath();
void SetDefaultSourcePath(const std::string& path);
