#include "framework/RecentFileList.h"

#include "framework/core/PathDisplay.h"

namespace {
constexpr char kSection[] = "Recent File List";
// The menu shows each path in at most this many bytes, however deep the folder; a path of whatever length would
// make the file menu as wide as the screen.
constexpr size_t kShownLength = 30;

// The long form, as the user knows the file: other programs hand over 8.3 paths. A path that cannot be looked
// up (its file has gone) is kept as it came.
std::string LongPath(const std::string& path) {
    std::string full(MAX_PATH, '\0');
    DWORD length = GetLongPathNameA(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
    if (length >= full.size()) {
        full.assign(length, '\0');
        length = GetLongPathNameA(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
    }
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return full;
}

std::string EntryName(size_t index) {
    return "File" + std::to_string(index + 1);
}

bool SameFile(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}
}  // namespace

void CRecentFileList::Load(const CRegistryProfile& profile) {
    m_paths.clear();
    for (size_t i = 0; i < m_size; ++i) {
        // Another program may have put a short form there.
        const std::string path = profile.GetString(kSection, EntryName(i).c_str());
        if (!path.empty())
            m_paths.push_back(LongPath(path));
    }
}

void CRecentFileList::Save(const CRegistryProfile& profile) const {
    for (size_t i = 0; i < m_size; ++i)
        profile.WriteString(kSection, EntryName(i).c_str(), i < m_paths.size() ? m_paths[i] : std::string());
}

void CRecentFileList::Add(std::string path) {
    if (path.empty())
        return;
    path = LongPath(path);
    for (size_t i = 0; i < m_paths.size(); ++i) {
        if (SameFile(m_paths[i], path)) {
            m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    m_paths.insert(m_paths.begin(), std::move(path));
    if (m_paths.size() > m_size)
        m_paths.resize(m_size);
}

void CRecentFileList::Remove(size_t index) {
    if (index < m_paths.size())
        m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(index));
}

void CRecentFileList::UpdateMenu(HMENU menu, const std::string& placeholder) const {
    int position = -1;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        if (IsCommand(GetMenuItemID(menu, i))) {
            DeleteMenu(menu, i, MF_BYPOSITION);
            position = i;
        }
    }
    if (position < 0)
        return;
    if (m_paths.empty()) {
        InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING | MF_GRAYED, m_firstCommand, placeholder.c_str());
        return;
    }
    for (size_t i = 0; i < m_paths.size(); ++i) {
        // An ampersand in a path would be read as a mnemonic.
        std::string shown;
        for (char c : AbbreviatePath(m_paths[i], kShownLength)) {
            shown += c;
            if (c == '&')
                shown += '&';
        }
        const std::string text = "&" + std::to_string(i + 1) + " " + shown;
        InsertMenuA(menu, position + static_cast<int>(i), MF_BYPOSITION | MF_STRING,
                    m_firstCommand + static_cast<UINT>(i), text.c_str());
    }
}
