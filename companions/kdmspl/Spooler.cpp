#include "companions/kdmspl/Spooler.h"

#include <windows.h>

#include <cstdio>

#include "common/core/SuiteFolders.h"
#include "companions/kdmspl/core/ResendList.h"
#include "companions/kdmspl/resource.h"
#include "framework/Resources.h"

namespace {
constexpr const char* kJobList = "RESEND.TMP";
// Caps on what is read from outside: a job list of paths, and a fax document of many pages.
constexpr DWORD kMaxListBytes = 64 * 1024;
constexpr DWORD kMaxCopyBytes = 64 * 1024 * 1024;

bool ReadWholeFile(const std::string& path, DWORD limit, std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= limit;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

bool WriteNewFile(const std::string& path, const void* data, size_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    ok = CloseHandle(file) && ok;
    if (!ok)
        DeleteFileA(path.c_str());
    return ok;
}
}  // namespace

std::vector<CSpooler::TakenJob> CSpooler::TakeJobs() {
    m_lastRecordFile.clear();
    const std::string listPath = FileInFolder(m_recvFolder, kJobList);
    std::vector<uint8_t> listBytes;
    if (!ReadWholeFile(listPath, kMaxListBytes, listBytes))
        return {};
    // Taken once: a later broadcast without a new hand-off must not send the same faxes again.
    DeleteFileA(listPath.c_str());

    SYSTEMTIME st{};
    GetLocalTime(&st);
    const LocalTime now{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    char stamp[32];
    snprintf(stamp, sizeof stamp, "S%04u%02u%02u%02u%02u%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
             st.wSecond);

    std::vector<TakenJob> jobs;
    std::string lines;
    const std::string text(listBytes.begin(), listBytes.end());
    for (const std::string& path : ParseResendList(text)) {
        jobs.push_back(TakeJob(path, now, stamp, static_cast<int>(jobs.size()) + 1));
        if (jobs.back().print)
            continue;
        // On disk as a text-mode writer leaves it, CR LF, which the log viewer's text-mode reading expects.
        const std::string line = FormatLogLine(SendRecordFields(jobs.back().send));
        lines.append(line, 0, line.size() - 1).append("\r\n");
    }
    if (!lines.empty())
        WriteRecords(lines, stamp);
    return jobs;
}

CSpooler::TakenJob CSpooler::TakeJob(const std::string& path,
                                     const LocalTime& now,
                                     const std::string& stamp,
                                     int index) {
    TakenJob job;
    job.path = path;
    job.send.taken = now;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, kMaxCopyBytes, bytes)) {
        job.send.remark = LoadResString(IDS_COPY_MISSING);
        return job;
    }
    SmhFileHeader header;
    if (CheckSmhCopy(bytes, header) != CopyCheck::kValid) {
        job.send.remark = LoadResString(IDS_COPY_INVALID);
        return job;
    }
    job.send.destination = DestinationFromHeader(header);
    job.send.pages = header.PageCount();
    if (header.DocKind() == kSmhPrintKind) {
        job.print = true;
        return job;
    }
    // The document is kept either way: the record that names it is opened, deleted or sent again from the log.
    job.send.documentName = KeepDocument(bytes, stamp, index);
    job.send.sent = HasNumberToDial(header);
    if (!job.send.sent)
        job.send.remark = LoadResString(IDS_NO_NUMBER);
    return job;
}

// The log names its document in the received-fax folder, and the log viewer deletes that file with the record;
// the sender's copy is overwritten by the next send, so the record gets a copy of its own.
std::string CSpooler::KeepDocument(const std::vector<uint8_t>& bytes, const std::string& stamp, int index) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            stamp + "_" + std::to_string(index) + (attempt ? "_" + std::to_string(attempt) : "") + ".smh";
        if (WriteNewFile(FileInFolder(m_recvFolder, name), bytes.data(), bytes.size()))
            return name;
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return {};
}

// Written under a name the log viewer does not look for, then renamed, so it never merges half a file.
bool CSpooler::WriteRecords(const std::string& lines, const std::string& stamp) {
    const std::string partial = FileInFolder(m_tempFolder, "kdmspl.tmp");
    DeleteFileA(partial.c_str());
    if (!WriteNewFile(partial, lines.data(), lines.size()))
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = stamp + (attempt ? "_" + std::to_string(attempt) : "") + ".CSV";
        const std::string target = FileInFolder(m_tempFolder, name);
        if (MoveFileA(partial.c_str(), target.c_str())) {
            m_lastRecordFile = target;
            return true;
        }
    }
    DeleteFileA(partial.c_str());
    return false;
}
