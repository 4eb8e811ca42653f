#include "companions/prnfold/FaxPrinter.h"

#include <winspool.h>

#include <vector>

#include "companions/prnfold/resource.h"

namespace {
// The driver's printer description as the spooler files it; the device's own driver name is the printer's name
// with this suffix, so that each device printer has a driver of its own.
constexpr char kDataFile[] = "KDMFAX.PPD";
constexpr char kDriverSuffix[] = " Driver";
constexpr char kPortFile[] = "FAXPRINT.PRN";
// Wine's PostScript driver renders the pages; RAW jobs pass through to the port unchanged.
constexpr char kRenderer[] = "wineps.drv";

// Only a whole single-byte "\" separates names: in code page 936 a trail byte may be 0x5C.
std::string FileNameOf(const std::string& path) {
    const char* name = path.c_str();
    for (const char* at = name; *at; at = CharNextA(at)) {
        if (*at == '\\' || *at == ':')
            name = at + 1;
    }
    return name;
}

std::string WithoutTrailingSeparators(std::string folder) {
    while (!folder.empty()) {
        const char* last = CharPrevA(folder.c_str(), folder.c_str() + folder.size());
        if (*last != '\\' || last != folder.c_str() + folder.size() - 1)
            break;
        folder.pop_back();
    }
    return folder;
}

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

std::string DriverDirectory() {
    char folder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed))
        return {};
    return folder;
}

bool WriteWholeFile(const std::string& path, const void* bytes, DWORD size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool done = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!done) {
        DeleteFileA(path.c_str());
        SetLastError(error ? error : ERROR_WRITE_FAULT);
    }
    return done;
}

// The spooler copies the staged description into its own folder for the driver version; the staged copy is not
// needed afterwards.
bool AddDriver(const std::string& driver, const std::string& deviceDriver) {
    const std::string deviceFile = FileNameOf(deviceDriver);
    std::string dependents = deviceFile;
    dependents.push_back('\0');  // c_str() adds the list's closing NUL
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(driver.c_str());
    info.pDriverPath = const_cast<char*>(kRenderer);
    info.pDataFile = const_cast<char*>(kDataFile);
    info.pConfigFile = const_cast<char*>(kRenderer);
    info.pDependentFiles = deviceFile.empty() ? nullptr : dependents.data();
    info.pDefaultDataType = const_cast<char*>("RAW");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return false;
    DeleteFileA((DriverDirectory() + "\\" + kDataFile).c_str());
    return true;
}

// Through the local port monitor's XcvData "AddPort", which adds a file port silently; AddPortA would ask the
// user in a dialog, and the standard "FILE:" port asks for a file name at every job.
bool AddFilePort(const std::string& port) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE monitor = nullptr;
    if (!OpenPrinterA(const_cast<char*>(",XcvMonitor Local Port"), &monitor, &access))
        return false;
    std::wstring name = Wide(port);
    DWORD needed = 0;
    DWORD status = ERROR_SUCCESS;
    const BOOL sent = XcvDataW(monitor, L"AddPort", reinterpret_cast<BYTE*>(name.data()),
                               static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)), nullptr, 0, &needed, &status);
    const DWORD error = GetLastError();
    ClosePrinter(monitor);
    if (!sent) {
        SetLastError(error);
        return false;
    }
    if (status != ERROR_SUCCESS && status != ERROR_ALREADY_EXISTS) {
        SetLastError(status);
        return false;
    }
    return true;
}

std::string PrinterComment(HMODULE module) {
    char text[256] = {};
    const int length = LoadStringA(module, IDS_PRINTER_COMMENT, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

// A printer of that name already there (an earlier installation) keeps its other settings and its comment; only
// what makes it the fax printer is set again.
bool PutPrinter(HMODULE module, const FaxPrinterSpec& spec, const std::string& driver) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (OpenPrinterA(const_cast<char*>(spec.name.c_str()), &printer, &access)) {
        DWORD needed = 0;
        GetPrinterA(printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        bool done = needed > 0 && GetPrinterA(printer, 2, buffer.data(), needed, &needed);
        if (done) {
            auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
            info->pPortName = const_cast<char*>(spec.port.c_str());
            info->pDriverName = const_cast<char*>(driver.c_str());
            info->pPrintProcessor = const_cast<char*>("WinPrint");
            info->pDatatype = const_cast<char*>("RAW");
            info->pSecurityDescriptor = nullptr;  // left as it is
            done = SetPrinterA(printer, 2, buffer.data(), 0);
        }
        const DWORD error = GetLastError();
        ClosePrinter(printer);
        SetLastError(error);
        return done;
    }
    const std::string comment = PrinterComment(module);
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(spec.name.c_str());
    info.pPortName = const_cast<char*>(spec.port.c_str());
    info.pDriverName = const_cast<char*>(driver.c_str());
    info.pComment = const_cast<char*>(comment.c_str());
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!added)
        return false;
    ClosePrinter(added);
    return true;
}

// A default that names a printer no longer there counts as none.
bool HasUsableDefault() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0)
        return false;
    std::string name(size, '\0');
    if (!GetDefaultPrinterA(name.data(), &size))
        return false;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name.data(), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}
}  // namespace

std::string FaxPortFromDeviceIni() {
    char temp[MAX_PATH] = {};
    GetPrivateProfileStringA("COMMON", "TempPath", "", temp, sizeof temp, "KDM540.INI");
    const std::string folder = WithoutTrailingSeparators(temp);
    if (folder.empty())
        return {};
    const std::string port = folder + "\\" + kPortFile;
    return port.size() < MAX_PATH ? port : std::string();
}

bool StageDriverData(HMODULE module) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_DRIVER_DATA), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const std::string folder = DriverDirectory();
    if (!bytes || folder.empty())
        return false;
    return WriteWholeFile(folder + "\\" + kDataFile, bytes, SizeofResource(module, found));
}

bool InstallFaxPrinter(HMODULE module, const FaxPrinterSpec& spec) {
    const std::string driver = spec.name + kDriverSuffix;
    if (!StageDriverData(module) || !AddDriver(driver, spec.deviceDriver) || !AddFilePort(spec.port) ||
        !PutPrinter(module, spec, driver))
        return false;
    // Windows makes the first printer of a machine its default; a fax printer never displaces a chosen one.
    if (!HasUsableDefault())
        SetDefaultPrinterA(spec.name.c_str());
    return true;
}
