#include "viewer/OpenFaxReadMark.h"

#include <cstdio>

#include "common/core/LogLine.h"
#include "common/core/SuiteFolders.h"
#include "common/core/TextModeLines.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "viewer/resource.h"

namespace {
// Marks made within one second by one user; past this many the folder is not taking new files anyway.
constexpr unsigned kMaxSuffix = 1000;

void Exclaim(HWND owner, UINT id, const std::string& name) {
    AppMessageBox(owner, FormatResString(id, name), MB_OK | MB_ICONEXCLAMATION);
}

bool WriteAll(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}
}  // namespace

std::string ReadMarkName(const SYSTEMTIME& time, unsigned suffix) {
    char name[48];
    snprintf(name, sizeof name, "BR%04u%02u%02u%02u%02u%02u", unsigned(time.wYear), unsigned(time.wMonth),
             unsigned(time.wDay), unsigned(time.wHour), unsigned(time.wMinute), unsigned(time.wSecond));
    std::string result = name;
    if (suffix > 0)
        result += "_" + std::to_string(suffix);
    return result + ".CSV";
}

std::string WriteReadMark(HWND owner, const LogRecord& record, const std::string& tempFolder, const SYSTEMTIME& time) {
    // The log viewer reads the first line only; the empty line after it is what the device's programs write.
    std::string text;
    AppendTextModeOutput(text, FormatLogLine(record, true) + "\n");

    // The log viewer looks for marks inside the folder, so a folder setting without its "\" still gets one.
    std::string name = ReadMarkName(time);
    for (unsigned suffix = 0; suffix < kMaxSuffix; ++suffix) {
        name = ReadMarkName(time, suffix);
        const std::string path = FileInFolder(tempFolder, name);
        // Created only when new: a mark of the same second, not yet applied, must not be overwritten.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            break;
        }
        // A failed write needs no message of its own: an incomplete line matches no record.
        WriteAll(file, text);
        if (!CloseHandle(file))
            Exclaim(owner, IDS_CANNOT_CLOSE_FILE, name);
        return path;
    }
    Exclaim(owner, IDS_CANNOT_OPEN_FILE, name);
    return {};
}
