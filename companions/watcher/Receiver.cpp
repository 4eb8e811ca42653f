#include "companions/watcher/Receiver.h"

#include <cstdlib>

#include "common/LogFile.h"
#include "common/core/SuiteFolders.h"
#include "companions/watcher/resource.h"
#include "framework/Handles.h"
#include "framework/Resources.h"

namespace {
// A fax of many fine pages stays far below this; anything larger is no fax the device would take.
constexpr DWORD kMaxSampleBytes = 64 * 1024 * 1024;
// Names already taken within one second before a reception gives up.
constexpr int kNameAttempts = 100;

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool NameTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

bool DiskFull(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

bool Fail(CReceiver::Outcome& outcome, UINT messageId, const std::string& arg) {
    outcome.messageId = messageId;
    outcome.messageArg = arg;
    return false;
}

// Writes everything and closes; false with the error saved when any of it failed.
bool WriteAndClose(HANDLE file, const void* data, size_t size, DWORD& error) {
    DWORD written = 0;
    bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    error = ok ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(file) && ok) {
        ok = false;
        error = GetLastError();
    }
    if (ok)
        return true;
    // A short write without an error code is what a full disk gives on some file systems.
    if (error == ERROR_SUCCESS)
        error = ERROR_DISK_FULL;
    return false;
}

enum class ReadResult { kRead, kCannotRead, kTooLarge };

ReadResult ReadSample(const std::string& path, std::vector<uint8_t>& bytes) {
    CKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return ReadResult::kCannotRead;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return ReadResult::kCannotRead;
    if (size.QuadPart > kMaxSampleBytes)
        return ReadResult::kTooLarge;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
        return ReadResult::kCannotRead;
    return ReadResult::kRead;
}
}  // namespace

std::string CReceiver::SamplesFolderOf(const std::string& programFolder) {
    return FileInFolder(programFolder, "samples\\");
}

CReceiver::CReceiver(std::string samplesFolder,
                     std::string recvFolder,
                     std::string tempFolder,
                     CRegistryProfile profile)
    : m_samplesFolder(std::move(samplesFolder)),
      m_recvFolder(std::move(recvFolder)),
      m_tempFolder(std::move(tempFolder)),
      m_profile(std::move(profile)) {}

std::vector<std::string> CReceiver::Samples() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(FileInFolder(m_samplesFolder, "*.smh").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return SampleOrder(std::move(names));
}

uint32_t CReceiver::TakeNextSample(size_t count) const {
    const std::string stored = m_profile.GetString(kProfileSection, kNextSampleValue, "0");
    const uint32_t next = static_cast<uint32_t>(strtoul(stored.c_str(), nullptr, 10) % count);
    m_profile.WriteString(kProfileSection, kNextSampleValue, std::to_string((next + 1) % count));
    return next;
}

CReceiver::Outcome CReceiver::Receive() {
    Outcome outcome;
    // Both destinations first, so a sample is never taken for a reception that cannot be kept.
    for (const std::string* folder : {&m_recvFolder, &m_tempFolder}) {
        if (!IsFolder(*folder)) {
            Fail(outcome, IDS_FOLDER_MISSING, *folder);
            return outcome;
        }
    }
    if (!IsFolder(m_samplesFolder)) {
        Fail(outcome, IDS_NO_SAMPLE_FOLDER, m_samplesFolder);
        return outcome;
    }
    const std::vector<std::string> samples = Samples();
    if (samples.empty()) {
        Fail(outcome, IDS_NO_SAMPLES, m_samplesFolder);
        return outcome;
    }
    outcome.sample = FileInFolder(m_samplesFolder, samples[TakeNextSample(samples.size())]);

    std::vector<uint8_t> bytes;
    switch (ReadSample(outcome.sample, bytes)) {
    case ReadResult::kCannotRead:
        Fail(outcome, IDS_SAMPLE_UNREADABLE, outcome.sample);
        return outcome;
    case ReadResult::kTooLarge:
        Fail(outcome, IDS_SAMPLE_TOO_LARGE, outcome.sample);
        return outcome;
    case ReadResult::kRead:
        break;
    }
    SmhFileHeader header;
    if (CheckSampleFax(bytes, header) != SampleCheck::kValid) {
        Fail(outcome, IDS_SAMPLE_INVALID, outcome.sample);
        return outcome;
    }

    const LogDateTime now = CurrentLogTime();
    outcome.reception.sender = SenderFromHeader(header, LoadResString(IDS_UNKNOWN_SENDER));
    outcome.reception.pages = header.PageCount();
    outcome.reception.received = now;
    if (!Store(bytes, now, outcome))
        return outcome;
    const ReceiveLogRecord record = ReceiveRecordFor(outcome.reception);
    if (!LeaveRecord(PendingRecordText(record), now, outcome)) {
        DeleteFileA(outcome.documentPath.c_str());
        outcome.documentPath.clear();
        return outcome;
    }
    outcome.received = true;
    return outcome;
}

// CREATE_NEW claims a name or fails, so a document already there is never overwritten, even one that
// another program stores in the same second.
bool CReceiver::Store(const std::vector<uint8_t>& bytes, const LogDateTime& now, Outcome& outcome) const {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = ReceivedFaxName(now, attempt);
        const std::string path = FileInFolder(m_recvFolder, name);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (NameTaken(error))
                continue;
            return Fail(outcome, DiskFull(error) ? IDS_DISK_FULL : IDS_CANNOT_STORE, path);
        }
        DWORD error = ERROR_SUCCESS;
        if (!WriteAndClose(file, bytes.data(), bytes.size(), error)) {
            DeleteFileA(path.c_str());
            return Fail(outcome, DiskFull(error) ? IDS_DISK_FULL : IDS_CANNOT_STORE, path);
        }
        outcome.documentPath = path;
        outcome.reception.documentName = name;
        return true;
    }
    return Fail(outcome, IDS_CANNOT_STORE, FileInFolder(m_recvFolder, ReceivedFaxName(now, 0)));
}

// Written whole under a name the log viewer does not look for, then renamed: it never merges half a record.
bool CReceiver::LeaveRecord(const std::string& text, const LogDateTime& now, Outcome& outcome) const {
    char partial[MAX_PATH] = {};
    // GetTempFileNameA adds up to 14 characters to the folder and writes into a MAX_PATH buffer.
    if (m_tempFolder.size() + 14 >= MAX_PATH || !GetTempFileNameA(m_tempFolder.c_str(), "wtc", 0, partial))
        return Fail(outcome, IDS_CANNOT_RECORD, m_tempFolder);
    HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (file == INVALID_HANDLE_VALUE || !WriteAndClose(file, text.data(), text.size(), error)) {
        DeleteFileA(partial);
        return Fail(outcome, DiskFull(error) ? IDS_DISK_FULL : IDS_CANNOT_RECORD, partial);
    }
    std::string target;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        target = FileInFolder(m_tempFolder, PendingRecordName(now, attempt));
        if (MoveFileA(partial, target.c_str())) {
            outcome.recordPath = target;
            return true;
        }
        if (!NameTaken(GetLastError()))
            break;
    }
    DeleteFileA(partial);
    return Fail(outcome, IDS_CANNOT_RECORD, target);
}
