#include "common/LogFile.h"

#include "common/CommonResources.h"
#include "common/WholeFile.h"
#include "common/core/TextModeLines.h"
#include "common/core/LogLine.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/core/TextFormat.h"

namespace {
constexpr int kPhaseDone = 0;
constexpr int kPhaseLoading = 1;
constexpr int kPhaseSaving = 2;

}  // namespace

LogDateTime CurrentLogTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

CLogFile::CLogFile(const LogLayout& layout, const SuiteSettings& folders, HWND owner, UINT progressMessage)
    : m_layout(layout), m_folders(folders), m_owner(owner), m_progressMessage(progressMessage) {}

std::string CLogFile::LogPath() const {
    return m_folders.logFolder + std::string(m_layout.logFileName);
}

std::string CLogFile::DocumentPath(const LogRecord& record) const {
    return m_folders.recvFolder + record.FileName();
}

void CLogFile::Report(int percent, int phase) const {
    if (m_owner && m_progressMessage)
        SendMessageA(m_owner, m_progressMessage, static_cast<WPARAM>(percent), phase);
}

void CLogFile::Exclaim(UINT id, const std::string& name) const {
    AppMessageBox(m_owner, FormatResString(id, name), MB_OK | MB_ICONEXCLAMATION);
}

std::vector<std::string> CLogFile::PendingFiles(const std::string& prefix, std::string_view skipName) const {
    const std::string folder = FileInFolder(m_folders.tempFolder, "");
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + prefix + "*.CSV").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return paths;
    const std::string lowerPrefix = LowerAscii(prefix);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // The pattern also matches short names; only a long name with the prefix is one of these files.
        const std::string lower = LowerAscii(found.cFileName);
        if (lower.compare(0, lowerPrefix.size(), lowerPrefix) != 0)
            continue;
        if (!skipName.empty() && lower.find(skipName) != std::string::npos)
            continue;
        paths.push_back(folder + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return paths;
}

void CLogFile::Load(LogList& list) {
    const std::string logName(m_layout.logFileName);
    std::vector<LogRecord> dropped;
    list.OnRetentionDrop([&dropped](const LogRecord& record) { dropped.push_back(record); });

    const std::vector<std::string> pending = PendingFiles(std::string(1, m_layout.pendingPrefix), logName);
    std::vector<std::string> merged;
    for (const std::string& path : pending) {
        std::string bytes;
        const FileResult read = ReadWholeFile(path, bytes);
        if (read == FileResult::kCannotOpen)
            continue;  // being written, or gone: the next load takes it
        if (read == FileResult::kCannotClose)
            Exclaim(IDS_CANNOT_CLOSE, logName);
        list.InsertLines(bytes, LogInsertMode::kByDate, [this](int p) { Report(p, kPhaseLoading); });
        merged.push_back(path);
    }

    std::string bytes;
    const FileResult read = ReadWholeFile(LogPath(), bytes);
    m_logReadable = read == FileResult::kOk || IsMissingFile(LogPath());
    if (read == FileResult::kCannotOpen)
        Exclaim(IDS_CANNOT_OPEN, logName);
    else if (read == FileResult::kCannotClose)
        Exclaim(IDS_CANNOT_CLOSE, logName);
    if (read != FileResult::kCannotOpen)
        list.InsertLines(bytes, LogInsertMode::kAppend, [this](int p) { Report(p, kPhaseLoading); });
    list.OnRetentionDrop(nullptr);

    // A log that could not be read has had its message; the handed-over files stay for a load that can save.
    if (!m_logReadable || !Save(list))
        return;
    for (const std::string& path : merged)
        DeleteFileA(path.c_str());
    for (const LogRecord& record : dropped)
        DeleteDocument(record);
}

bool CLogFile::Save(const LogList& list) {
    if (!m_logReadable) {
        // Rewriting it would lose what could not be read; whatever waited on this save does not happen either.
        Report(100, kPhaseDone);
        Exclaim(IDS_CANNOT_OPEN, std::string(m_layout.logFileName));
        return false;
    }
    std::string text;
    text.reserve(list.Size() * 96);
    int shown = -1;
    for (size_t i = 0; i < list.Size(); ++i) {
        AppendTextModeOutput(text, FormatLogLine(list.At(i)));
        const int percent = static_cast<int>(100 * i / list.Size());
        if (percent != shown) {
            shown = percent;
            Report(percent, kPhaseSaving);
        }
    }
    const FileResult written = ReplaceWholeFile(LogPath(), text);
    Report(100, kPhaseDone);
    if (written == FileResult::kOk)
        return true;
    Exclaim(written == FileResult::kCannotOpen ? IDS_CANNOT_OPEN : IDS_CANNOT_CLOSE, std::string(m_layout.logFileName));
    return false;
}

bool CLogFile::ApplyReadMarks(LogList& list) {
    bool marked = false;
    const std::string marks = std::string("B") + m_layout.pendingPrefix;
    for (const std::string& path : PendingFiles(marks, {})) {
        std::string bytes;
        const FileResult read = ReadWholeFile(path, bytes);
        if (read == FileResult::kCannotClose) {
            Exclaim(IDS_CANNOT_CLOSE, std::string(m_layout.logFileName));
            DeleteFileA(path.c_str());
            continue;
        }
        std::string firstLine;
        size_t position = 0;
        if (read == FileResult::kOk)
            NextLogLine(bytes, position, m_layout, firstLine);
        if (!firstLine.empty() && list.ApplyReadMark(firstLine) >= 0) {
            marked = true;
            if (!Save(list))
                continue;  // the mark stays until a log holding it is written
        }
        DeleteFileA(path.c_str());
    }
    return marked;
}

void CLogFile::DeleteDocument(const LogRecord& record) const {
    if (!IsPlainFileName(record.FileName()))
        return;
    const std::string path = DocumentPath(record);
    if (!DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        Exclaim(IDS_CANNOT_DELETE, record.FileName());
}
