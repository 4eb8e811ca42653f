#include "instkit/RebootReplace.h"

#include <string>

#include "framework/Handles.h"
#include "instkit/Instkit.h"
#include "instkit/core/RenameSection.h"

namespace instkit {

namespace {
// The system reads the file at start-up in one piece; anything larger is not a rename list it would take.
constexpr LONGLONG kRenameFileLimit = 0x1000000;

std::string WinInitPath() {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(windows) + "\\WinInit.Ini";
}

bool SetEnd(HANDLE file, DWORD end) {
    LARGE_INTEGER at{};
    at.QuadPart = end;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// Puts the file back as it was read.
void WriteBack(HANDLE file, const std::string& original) {
    DWORD written = 0;
    if (SetEnd(file, 0))
        WriteFile(file, original.data(), static_cast<DWORD>(original.size()), &written, nullptr);
}

// Adds the line in place through a mapping with room for it. The file's bytes are kept aside first, so that
// whatever fails once the mapping has grown the file, it is put back as it was.
bool AddRenameLine(HANDLE file, const std::string& line) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kRenameFileLimit)
        return false;
    const DWORD before = static_cast<DWORD>(size.QuadPart);
    const DWORD room = before + static_cast<DWORD>(RenameRoom(line));
    std::string original(before, '\0');
    DWORD read = 0;
    if (before > 0 && (!ReadFile(file, original.data(), before, &read, nullptr) || read != before))
        return false;

    CKernelHandle mapping(CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, room, nullptr));
    void* view = mapping ? MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, room) : nullptr;
    if (!view) {
        mapping.Reset();
        SetEnd(file, before);
        return false;
    }
    const size_t after = InsertRenameLine(static_cast<char*>(view), before, line);
    const bool flushed = FlushViewOfFile(view, 0) != FALSE;
    UnmapViewOfFile(view);
    mapping.Reset();
    if (flushed && SetEnd(file, static_cast<DWORD>(after)))
        return true;
    WriteBack(file, original);
    return false;
}
}  // namespace

DWORD ScheduleReplace(DelayedMove move, LPCSTR destination, LPCSTR source) {
    if (!source || !*source)
        return 0;
    DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT;
    // A file in use is replaced, not kept, when the system restarts.
    if (destination)
        flags |= MOVEFILE_REPLACE_EXISTING;
    if (move(source, destination, flags))
        return 1;

    const std::string line = RenameLine(destination, source);
    const std::string path = WinInitPath();
    if (line.empty() || path.empty())
        return 0;
    CKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return 0;
    return AddRenameLine(file.Get(), line) ? 1 : 0;
}

}  // namespace instkit

extern "C" DWORD WINAPI ReplaceFileOnReboot(LPCSTR destination, LPCSTR source) {
    try {
        return instkit::ScheduleReplace(MoveFileExA, destination, source);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
