#include "common/WholeFile.h"

#include <windows.h>

#include <new>

#include "framework/Handles.h"

namespace {
constexpr DWORD kWriteChunk = 1 << 20;

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() < kWriteChunk ? static_cast<DWORD>(bytes.size()) : kWriteChunk;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written != chunk)
            return false;
        bytes.remove_prefix(chunk);
    }
    return true;
}

// A reader of the file, or another program's replace of it, holds it for a moment; one that holds it longer
// has locked it.
constexpr int kBusyRetries = 40;
constexpr DWORD kBusyRetryMs = 25;

bool IsMomentary(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// A read-only or locked file must be refused before anything is written, as opening it for writing would be.
// The attribute is checked itself: Wine keeps it as file permissions, which do not stop a program run as root.
bool CanReplace(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    for (int attempt = 0;; ++attempt) {
        CKernelHandle existing(CreateFileA(path.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (existing)
            return true;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return true;
        if (!IsMomentary(error) || attempt == kBusyRetries)
            return false;
        Sleep(kBusyRetryMs);
    }
}

bool MoveIntoPlace(const std::string& copy, const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (!IsMomentary(GetLastError()) || attempt == kBusyRetries)
            return false;
        Sleep(kBusyRetryMs);
    }
}
}  // namespace

std::string ReplacementCopyPath(const std::string& path) {
    // Each program's own: two programs saving the same file at once never write into one copy.
    return path + "." + std::to_string(GetCurrentProcessId()) + ".new";
}

bool IsMissingFile(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FileResult ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // Shared for deleting too, so that another program's save can put its copy in the file's place meanwhile.
    CKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return FileResult::kCannotOpen;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
        return FileResult::kCannotOpen;
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return FileResult::kCannotOpen;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD chunk = left < kWriteChunk ? static_cast<DWORD>(left) : kWriteChunk;
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr))
            return FileResult::kCannotOpen;
        if (read == 0)
            break;  // the file shrank meanwhile: what is there is the content
        done += read;
    }
    bytes.resize(done);
    if (!CloseHandle(file.Release()))
        return FileResult::kCannotClose;
    return FileResult::kOk;
}

FileResult ReplaceWholeFile(const std::string& path, std::string_view bytes) {
    if (!CanReplace(path))
        return FileResult::kCannotOpen;
    const std::string copy = ReplacementCopyPath(path);
    CKernelHandle file(
        CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return FileResult::kCannotOpen;
    const bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    const bool closed = CloseHandle(file.Release()) != 0;
    if (written && closed && MoveIntoPlace(copy, path))
        return FileResult::kOk;
    DeleteFileA(copy.c_str());
    return FileResult::kCannotClose;
}
