#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Profile.h"

// The most recently opened files, newest first, kept in the profile's "Recent File List" section as "File1"..
// and shown in the file menu in place of the first entry's command. Paths are kept in their long form and shown
// shortened to a fixed width.
class CRecentFileList {
public:
    CRecentFileList(UINT firstCommand, size_t size) : m_firstCommand(firstCommand), m_size(size) {}

    void Load(const CRegistryProfile& profile);
    void Save(const CRegistryProfile& profile) const;
    // Puts the path first; an entry for the same file (whatever its letter case) moves up instead.
    // Takes its own copy first: `path` may be one of the list's entries.
    void Add(std::string path);
    void Remove(size_t index);

    size_t Count() const { return m_paths.size(); }
    const std::string& Path(size_t index) const { return m_paths[index]; }
    UINT FirstCommand() const { return m_firstCommand; }
    bool IsCommand(UINT id) const { return id >= m_firstCommand && id < m_firstCommand + m_size; }

    // Rewrites the entries of `menu` that carry the list's commands: "&1 path" and so on, or the placeholder
    // text, greyed, when the list is empty.
    void UpdateMenu(HMENU menu, const std::string& placeholder) const;

private:
    UINT m_firstCommand;
    size_t m_size;
    std::vector<std::string> m_paths;
};
