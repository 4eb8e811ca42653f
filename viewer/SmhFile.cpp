#include "viewer/SmhFile.h"

#include "common/SpoolerHandOff.h"
#include "common/kdmlib.h"
#include "framework/BusyState.h"
#include "framework/FileErrors.h"
#include "common/core/SmhFormat.h"
#include "viewer/dib/BmpImageConversion.h"

namespace {
// An open SMH file, shared for reading only: nobody may change it while pages are read from it.
class CSmhFileSource : public ISmhSource {
public:
    CSmhFileSource(const std::string& path, DWORD access)
        : m_file(CreateFileA(path.c_str(),
                             access,
                             FILE_SHARE_READ,
                             nullptr,
                             OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL,
                             nullptr)) {
        m_error = m_file ? ERROR_SUCCESS : GetLastError();
        LARGE_INTEGER size{};
        if (m_file && GetFileSizeEx(m_file.Get(), &size))
            m_size = static_cast<uint64_t>(size.QuadPart);
    }

    bool IsOpen() const { return static_cast<bool>(m_file); }
    DWORD OpenError() const { return m_error; }
    HANDLE Handle() const { return m_file.Get(); }

    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
        if (offset > m_size || count > m_size - offset || count > MAXDWORD)
            return false;
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(m_file.Get(), position, nullptr, FILE_BEGIN))
            return false;
        DWORD read = 0;
        return ReadFile(m_file.Get(), buffer, static_cast<DWORD>(count), &read, nullptr) && read == count;
    }

private:
    CKernelHandle m_file;
    DWORD m_error;
    uint64_t m_size = 0;
};

HGLOBAL DecodePage(CSmhFileSource& file, const SmhFileHeader& header, uint32_t n, HWND mainWindow) {
    auto page = LocateSmhPage(file, header, n);
    if (!page)
        return nullptr;
    CGlobalBlock coded(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, page->codedBytes));
    {
        CGlobalLock lock(coded.Get());
        if (!lock.Data() || !file.ReadAt(page->dataOffset, lock.Data(), page->codedBytes))
            return nullptr;
    }
    DWORD work = 0;
    CGlobalBlock decoded;
    {
        CGlobalLock lock(coded.Get());
        decoded.Reset(MHtoBmp(static_cast<const BYTE*>(lock.Data()), page->codedBytes, &work, 1, 1,
                              header.DecodeParam(), mainWindow));
    }
    coded.Reset();
    if (!decoded)
        return nullptr;
    CGlobalBlock stretched;
    {
        CGlobalLock lock(decoded.Get());
        if (!lock.Data())
            return nullptr;
        DWORD mode = header.StretchSelector() == kSmhStandardResolution ? 0 : 1;
        stretched.Reset(StretchBmp(static_cast<const BYTE*>(lock.Data()), &work, mode, 1));
    }
    decoded.Reset();
    return BmpImageToPackedDib(std::move(stretched)).Release();
}

// Opens and reads the header; reports a file that cannot be opened.
std::optional<SmhFileHeader> OpenHeader(CSmhFileSource& file, const std::string& path, HWND owner) {
    if (!file.IsOpen()) {
        ReportOpenError(owner, path, file.OpenError());
        return std::nullopt;
    }
    return ReadSmhFileHeader(file);
}
}  // namespace

SmhValidation ValidateSmhFile(const std::string& path, HWND mainWindow, SmhOpened& opened) {
    uint32_t pageCount = 0;
    {
        CSmhFileSource file(path, GENERIC_READ);
        auto header = OpenHeader(file, path, mainWindow);
        if (!file.IsOpen())
            return SmhValidation::kCannotOpen;
        if (!header || CheckSmhHeader(*header) != SmhHeaderCheck::kValid)
            return SmhValidation::kInvalid;
        pageCount = header->PageCount();
    }
    CGlobalBlock first(LoadSmhPage(path, 1, mainWindow));
    if (!first)
        return SmhValidation::kInvalid;
    opened.firstPage = std::move(first);
    opened.pageCount = pageCount;
    return SmhValidation::kValid;
}

HGLOBAL LoadSmhPage(const std::string& path, uint32_t n, HWND mainWindow) {
    CBusyState busy(mainWindow);
    CSmhFileSource file(path, GENERIC_READ);
    auto header = OpenHeader(file, path, mainWindow);
    if (!header || header->FormatId() != kSmhFormatId || header->PageCount() == 0 || n > header->PageCount())
        return nullptr;
    return DecodePage(file, *header, n, mainWindow);
}

SmhCopy CopySmhWithHeader(const std::string& source,
                          const std::string& target,
                          uint16_t kind,
                          const char* destName,
                          const char* destNumber) {
    if (!MakeHandOffCopy(source, target))
        return SmhCopy::kNotCopied;
    CSmhFileSource file(target, GENERIC_READ | GENERIC_WRITE);
    auto header = file.IsOpen() ? ReadSmhFileHeader(file) : std::nullopt;
    if (!header || header->FormatId() != kSmhFormatId)
        return SmhCopy::kUnpatched;
    std::optional<SmhDestination> destination;
    char stationNumber[kSmhNumberField] = {};
    char stationName[kSmhNameField] = {};
    if (destName && destNumber) {
        destination = SmhDestination{destName, destNumber};
        GetPrivateProfileStringA("COMMON", "StationNumber", "", stationNumber, sizeof stationNumber, "KDM540.INI");
        GetPrivateProfileStringA("COMMON", "StationName", "", stationName, sizeof stationName, "KDM540.INI");
    }
    PatchSmhHeader(*header, kind, destination, stationNumber, stationName);
    DWORD written = 0;
    if (SetFilePointer(file.Handle(), 0, nullptr, FILE_BEGIN) != 0 ||
        !WriteFile(file.Handle(), header->raw.data(), kSmhFileHeaderSize, &written, nullptr) ||
        written != kSmhFileHeaderSize)
        return SmhCopy::kUnpatched;
    return SmhCopy::kPatched;
}
