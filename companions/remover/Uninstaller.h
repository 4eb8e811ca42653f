#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "setup/core/UninstallRecord.h"

// Removes what an installation's uninstall records list, in their order, and keeps account of the outcome: what
// could not be removed, what waits for the next restart because it is in use (this program's own file among
// them), and which folders stay because they hold the user's files.
class CUninstaller {
public:
    void Remove(const std::vector<setup::UninstallRecord>& records);

    // Descriptions of what is still there, for the user: paths, keys, INI entries, printers, bad records.
    const std::vector<std::string>& Failed() const { return m_failed; }
    const std::vector<std::string>& AtRestart() const { return m_atRestart; }
    const std::vector<std::string>& Kept() const { return m_kept; }

private:
    // What a folder holds once its contents have been removed.
    enum class Leftover { kNothing, kUserFiles, kFailures };

    void RemoveRecord(size_t number, const setup::UninstallRecord& record);
    bool RemoveFile(const std::string& path);
    void RemoveFolder(const std::string& folder);
    Leftover ClearFolder(const std::string& folder);
    bool RemoveEmptyFolder(const std::string& folder);
    void RemoveKey(uint32_t root, const std::string& subkey);
    void RemoveIniEntry(const setup::UninstallRecord& record);
    void RemoveIniSection(const std::string& section);
    bool IsSystemFolder(const std::string& folder) const;
    bool IsScheduled(const std::string& path) const;
    void FinishOwnFolder();

    std::vector<std::string> m_failed;
    std::vector<std::string> m_atRestart;
    std::vector<std::string> m_kept;
};
