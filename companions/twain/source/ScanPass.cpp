#include "companions/twain/source/ScanPass.h"

#include <windows.h>

#include <algorithm>

#include "common/WholeFile.h"
#include "common/core/SuiteFolders.h"
#include "companions/twain/source/TestSheets.h"

namespace {
constexpr DWORD kMaxPictureBytes = 64u << 20;  // far more than a scanned page takes

bool IsPictureName(const char* name) {
    const char* dot = strrchr(name, '.');
    return dot && (lstrcmpiA(dot, ".bmp") == 0 || lstrcmpiA(dot, ".pbm") == 0);
}

// The folder's picture files by name, or nothing when the folder is not there.
std::optional<std::vector<std::string>> PictureNames(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(FileInFolder(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPictureName(found.cFileName))
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

std::optional<kdm::BilevelImage> ReadPictureFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
        data.nFileSizeLow > kMaxPictureBytes)
        return std::nullopt;
    std::string bytes;
    if (ReadWholeFile(path, bytes) != FileResult::kOk)
        return std::nullopt;
    return scan::ReadPicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}
}  // namespace

CScanPass::Problem CScanPass::Start(const ScanSettings& settings, std::vector<std::string>& skipped) {
    m_resolution = settings.resolution;
    m_pictures.clear();
    m_total = m_next = 0;
    if (settings.folderPictures) {
        const auto names = PictureNames(settings.folder);
        if (!names)
            return Problem::kNoFolder;
        for (const std::string& name : *names) {
            if (m_pictures.size() == settings.pages)
                break;
            if (auto picture = ReadPictureFile(FileInFolder(settings.folder, name)))
                m_pictures.push_back(std::move(*picture));
            else
                skipped.push_back(name);
        }
        if (m_pictures.empty())
            return Problem::kNoPictures;
    }
    m_total = settings.folderPictures ? static_cast<unsigned>(m_pictures.size()) : settings.pages;
    return Problem::kNone;
}

scan::ScannedPage CScanPass::ScanNext() {
    const unsigned index = m_next++;
    if (m_pictures.empty())
        return {TestSheet(index, m_resolution), m_resolution};
    scan::ScannedPage page{scan::PlaceOnPage(m_pictures[index], m_resolution), m_resolution};
    m_pictures[index] = {};  // a long pass of large pictures need not hold them all to the end
    return page;
}
