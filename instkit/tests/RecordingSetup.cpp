#include <windows.h>

#include <string>

// Copied into a test's install location as the vendor's SETUP.EXE: leaves "started.txt" beside itself, holding
// its command line and the show state it was given.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int show) {
    char self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    std::string record = std::string(self);
    record = record.substr(0, record.rfind('\\') + 1) + "started.txt";
    const std::string text = std::string(commandLine) + "\r\n" + std::to_string(show) + "\r\n";
    HANDLE file = CreateFileA(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
