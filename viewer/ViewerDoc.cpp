#include "viewer/ViewerDoc.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "common/core/SuiteFolders.h"
#include "common/kdmlib.h"
#include "framework/BusyState.h"
#include "framework/CommonDialogs.h"
#include "framework/FileErrors.h"
#include "framework/FrameworkResources.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/Seam.h"
#include "framework/core/Mbcs.h"
#include "framework/core/TextFormat.h"
#include "viewer/SmhFile.h"
#include "viewer/resource.h"
#include "common/core/SmhFormat.h"
#include "viewer/dib/BmpFile.h"
#include "viewer/dib/BmpImageConversion.h"
#include "viewer/dib/CopyDib.h"
#include "viewer/dib/DibPalette.h"
#include "viewer/dib/core/PackedDibLayout.h"

namespace {
// The framework's save dialog as the document's commands show it: `target` holds the initial name and gets the
// chosen path. An empty `folder` starts where the dialog would.
bool ChooseSaveTarget(HWND owner,
                      UINT filterId,
                      const char* extension,
                      const std::string& folder,
                      char (&target)[MAX_PATH]) {
    const std::string filter = FilterFromResource(LoadResString(filterId));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = target;
    ofn.nMaxFile = sizeof target;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = extension;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON;
    return Seam<ICommonDialogs>().SaveFile(ofn) != FALSE;
}

// The open rule: ".smh" anywhere in the path, in any letter case. Only whole single-byte characters are
// compared, since a trail byte may have the value of a Latin letter.
bool ContainsSmhText(std::string_view path) {
    constexpr std::string_view kSmh = ".smh";
    for (size_t i = 0; i + kSmh.size() <= path.size(); i += CharLength(path, i)) {
        size_t k = 0;
        while (k < kSmh.size()) {
            char c = path[i + k];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != kSmh[k])
                break;
            ++k;
        }
        if (k == kSmh.size())
            return true;
    }
    return false;
}

// Each page record takes at least its page header, so a header that promises more pages than that is lying;
// those pages could never be found, and the list is not made to hold them.
uint32_t PagesTheFileCanHold(HANDLE file, uint32_t promised) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) < kSmhFileHeaderSize)
        return 1;
    const uint64_t fit = (static_cast<uint64_t>(size.QuadPart) - kSmhFileHeaderSize) / kSmhPageHeaderSize;
    return static_cast<uint32_t>(std::min<uint64_t>(promised, std::max<uint64_t>(fit, 1)));
}

// Hands a packed bitmap to the image library as a BMP image and brings the answer back as a packed bitmap,
// freeing every block in between.
template <typename Operation>
CGlobalBlock ThroughImageLibrary(HGLOBAL dib, Operation operation) {
    CGlobalBlock bmpImage(PackedDibToBmpImage(dib));
    CGlobalBlock answer;
    {
        CGlobalLock lock(bmpImage.Get());
        if (!lock.Data())
            return {};
        DWORD work = 0;
        answer.Reset(operation(static_cast<const BYTE*>(lock.Data()), &work));
    }
    bmpImage.Reset();
    return BmpImageToPackedDib(std::move(answer));
}
}  // namespace

CViewerDoc::CViewerDoc(IDocumentHost& host, std::string recvFolder)
    : CDocument(host), m_recvFolder(std::move(recvFolder)) {}

const FaxPage* CViewerDoc::PageAt(uint32_t n) const {
    if (n < 1 || n > m_pages.size())
        return nullptr;
    return &*std::next(m_pages.begin(), n - 1);
}

HGLOBAL CViewerDoc::PageImage(uint32_t n) const {
    const FaxPage* page = PageAt(n);
    return page ? page->image.Get() : nullptr;
}

void CViewerDoc::AppendPage(CGlobalBlock image) {
    FaxPage& page = m_pages.emplace_back();
    page.loaded = static_cast<bool>(image);
    page.image = std::move(image);
    if (m_pages.size() == 1) {
        m_current = m_pages.begin();
        m_pageNumber = 1;
        AnalyseCurrentImage();
    }
}

void CViewerDoc::FreeAllPages() {
    // The undo copy belongs to the current page; with the pages gone it has nowhere to go back to.
    FreeUndo();
    m_pages.clear();
    m_current = m_pages.end();
    m_pageNumber = 0;
    AnalyseCurrentImage();
}

bool CViewerDoc::NextPage() {
    if (!CanGoToNextPage())
        return false;
    return ChangePage(std::next(m_current), m_pageNumber + 1);
}

bool CViewerDoc::PreviousPage() {
    if (!CanGoToPreviousPage())
        return false;
    return ChangePage(std::prev(m_current), m_pageNumber - 1);
}

bool CViewerDoc::ChangePage(std::list<FaxPage>::iterator page, uint32_t number) {
    m_current = page;
    m_pageNumber = number;
    if (!page->loaded) {
        // Decoded once: a page that fails stays empty rather than failing again on every visit. Scanned pages
        // have no file to decode from.
        page->loaded = true;
        if (!m_filePath.empty())
            page->image.Reset(LoadSmhPage(m_filePath, number, Host().OwnerWindow()));
    }
    FreeUndo();
    AnalyseCurrentImage();
    return true;
}

HGLOBAL CViewerDoc::CurrentImage() const {
    return m_current != m_pages.end() ? m_current->image.Get() : nullptr;
}

bool CViewerDoc::CurrentSmoothed() const {
    return m_current != m_pages.end() && m_current->smoothed;
}

void CViewerDoc::SetCurrentSmoothed(bool smoothed) {
    if (m_current != m_pages.end())
        m_current->smoothed = smoothed;
}

void CViewerDoc::AnalyseCurrentImage() {
    m_palette.Reset();
    m_width = 1;
    m_height = 1;
    m_colorCount = 0;
    HGLOBAL image = CurrentImage();
    if (!image)
        return;
    bool negative = false;
    {
        CGlobalLock lock(image);
        const DibBytes bytes(static_cast<const uint8_t*>(lock.Data()), lock.Size());
        const int32_t width = DibWidth(bytes);
        const int32_t height = DibHeight(bytes);
        negative = width < 0 || height < 0;
        if (!negative) {
            m_width = width;
            m_height = height;
            m_colorCount = DibNumColors(bytes);
        }
    }
    if (negative) {
        // Freed through its page, the block's only owner.
        m_current->image.Reset();
        AppMessageBox(Host().OwnerWindow(), LoadResString(IDS_DIB_TOO_BIG), std::string(), MB_ICONINFORMATION | MB_OK);
        return;
    }
    CreateDibPalette(image, m_palette);
}

bool CViewerDoc::ReplaceCurrentImage(CGlobalBlock image) {
    if (m_current == m_pages.end())
        return false;
    if (m_current->image) {
        // When the copy cannot be made the slot stays empty and Undo unavailable.
        m_undo.Reset(CopyDib(m_current->image.Get()));
        m_undoSmoothed = m_current->smoothed;
    }
    m_current->image = std::move(image);
    m_current->loaded = true;
    m_current->smoothed = false;
    AnalyseCurrentImage();
    return true;
}

bool CViewerDoc::Undo() {
    if (!m_undo || m_current == m_pages.end())
        return false;
    m_current->image = std::move(m_undo);
    m_current->smoothed = m_undoSmoothed;
    AnalyseCurrentImage();
    return true;
}

void CViewerDoc::FreeUndo() {
    m_undo.Reset();
    m_undoSmoothed = false;
}

bool CViewerDoc::Rotate(PageRotation rotation) {
    if (!CanRotate())
        return false;
    CGlobalBlock turned = ThroughImageLibrary(CurrentImage(), [rotation](const BYTE* bmpImage, DWORD* work) {
        return BMPRotate(bmpImage, work, static_cast<DWORD>(rotation));
    });
    return turned && ReplaceCurrentImage(std::move(turned));
}

bool CViewerDoc::Smooth() {
    if (!CanSmooth())
        return false;
    const HWND mainWindow = Host().OwnerWindow();
    CBusyState busy(mainWindow);
    CGlobalBlock smoothed = ThroughImageLibrary(CurrentImage(), [mainWindow](const BYTE* bmpImage, DWORD* work) {
        return SmoothStretch(bmpImage, work, mainWindow);
    });
    if (!smoothed || !ReplaceCurrentImage(std::move(smoothed)))
        return false;
    SetCurrentSmoothed(true);
    return true;
}

bool CViewerDoc::SaveAs() {
    if (!CanSaveOrSend())
        return false;
    const HWND owner = Host().OwnerWindow();
    char target[MAX_PATH] = "smhfile";
    if (!ChooseSaveTarget(owner, IDS_SMH_FILTER, "smh", m_recvFolder, target))
        return false;
    bool copied;
    {
        CBusyState busy(owner);
        copied = CopyFileA(m_filePath.c_str(), target, FALSE) != FALSE;
    }
    if (!copied)
        ReportSaveError(owner);
    return copied;
}

bool CViewerDoc::ExportBitmap() {
    if (m_pageNumber == 0)
        return false;
    const HWND owner = Host().OwnerWindow();
    char target[MAX_PATH] = "BITMAP";
    if (!ChooseSaveTarget(owner, IDS_BMP_FILTER, "BMP", std::string(), target))
        return false;
    // Wine keeps the read-only attribute as permissions, which do not stop a program run as root.
    const DWORD attributes = GetFileAttributesA(target);
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    const HANDLE handle =
        readOnly ? INVALID_HANDLE_VALUE
                 : CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD openError = readOnly ? ERROR_ACCESS_DENIED : GetLastError();
    CKernelHandle file(handle);
    if (!file) {
        ReportSaveError(owner, target, openError, IDS_FW_INVALID_FILENAME);
        return false;
    }
    BmpWrite written;
    DWORD error = ERROR_SUCCESS;
    {
        CBusyState busy(owner);
        written = WriteBmpFile(CurrentImage(), file.Get());
        if (written == BmpWrite::kFileError)
            error = GetLastError();
        // A file that cannot be closed may not hold what was written.
        if (!CloseHandle(file.Release()) && written == BmpWrite::kWritten) {
            written = BmpWrite::kFileError;
            error = GetLastError();
        }
    }
    if (written == BmpWrite::kFileError) {
        ReportSaveError(owner, target, error, IDS_FW_FAILED_TO_SAVE);
        return false;
    }
    if (written == BmpWrite::kNotWritable) {
        AppMessageBox(owner, LoadResString(IDS_CANNOT_SAVE_DIB), std::string(), MB_ICONINFORMATION | MB_OK);
        return false;
    }
    return true;
}

bool CViewerDoc::AdoptScanFile() {
    if (!m_filePath.empty())
        return true;
    const HWND owner = Host().OwnerWindow();
    const std::string scanned = FileInFolder(m_recvFolder, "scantemp.smh");
    const std::string adopted = FileInFolder(m_recvFolder, "scanfile.smh");
    bool copied;
    {
        CBusyState busy(owner);
        copied = CopyFileA(scanned.c_str(), adopted.c_str(), FALSE) != FALSE;
    }
    if (!copied) {
        // An older "scanfile.smh" is not these pages: saving or sending it would pass off another document.
        ReportSaveError(owner);
        return false;
    }
    m_filePath = adopted;
    return true;
}

bool CViewerDoc::CanGoToNextPage() const {
    return m_pageNumber != 0 && m_pageNumber < PageCount();
}

bool CViewerDoc::CanGoToPreviousPage() const {
    return m_pageNumber > 1;
}

bool CViewerDoc::CanUndo() const {
    return static_cast<bool>(m_undo);
}

bool CViewerDoc::CanSaveOrSend() const {
    return m_pageNumber != 0 && m_colorCount == 2 && !m_filePath.empty();
}

bool CViewerDoc::CanRotate() const {
    return CurrentImage() && m_colorCount == 2;
}

bool CViewerDoc::CanSmooth() const {
    return CanRotate() && !CurrentSmoothed();
}

bool CViewerDoc::OnOpenDocument(const std::string& path) {
    if (!CDocument::OnOpenDocument(path))
        return false;
    const HWND owner = Host().OwnerWindow();
    SmhValidation result = SmhValidation::kInvalid;
    {
        // Held deny-write until the pages are listed, so that nobody rewrites the file meanwhile.
        const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        CKernelHandle file(handle);
        if (!file) {
            ReportOpenError(owner, path, error);
            return false;
        }
        DeleteContents();
        CBusyState busy(owner);
        if (ContainsSmhText(path)) {
            m_filePath = path;
            SmhOpened opened;
            result = ValidateSmhFile(path, owner, opened);
            if (result == SmhValidation::kValid) {
                const uint32_t pageCount = PagesTheFileCanHold(file.Get(), opened.pageCount);
                AppendPage(std::move(opened.firstPage));
                for (uint32_t n = 2; n <= pageCount; ++n)
                    AppendPage(CGlobalBlock());
                SetPathName(path);
            }
        }
    }
    if (result != SmhValidation::kValid) {
        m_filePath.clear();
        SetTitle("Untitled");
        // A file that could not be opened has had its report already.
        if (result == SmhValidation::kInvalid)
            AppMessageBox(owner, LoadResString(IDS_NOT_SMH), MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    // Views look at the modified flag while they update: for them the document has just changed.
    SetModifiedFlag(true);
    UpdateAllViews(nullptr);
    SetModifiedFlag(false);
    return true;
}

void CViewerDoc::DeleteContents() {
    FreeAllPages();
    m_filePath.clear();
    SetPathName(std::string(), false);
    SetTitle("Untitled");
    SetModifiedFlag(false);
    UpdateAllViews(nullptr);
}

bool CViewerDoc::OnCommand(UINT id) {
    switch (id) {
    case ID_FILE_SAVE_AS:
        SaveAs();
        return true;
    case ID_FILE_EXPORT_BITMAP:
        ExportBitmap();
        return true;
    }
    return false;
}

bool CViewerDoc::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.Id()) {
    case ID_PAGE_NEXT:
        ui.Enable(CanGoToNextPage());
        return true;
    case ID_PAGE_PREVIOUS:
        ui.Enable(CanGoToPreviousPage());
        return true;
    case ID_EDIT_UNDO:
        ui.Enable(CanUndo());
        return true;
    case ID_FILE_SAVE_AS:
        ui.Enable(CanSaveOrSend());
        return true;
    case ID_FILE_EXPORT_BITMAP:
        ui.Enable(m_pageNumber != 0);
        return true;
    case ID_IMAGE_ROTATE_RIGHT:
    case ID_IMAGE_ROTATE_LEFT:
    case ID_IMAGE_ROTATE_180:
        ui.Enable(CanRotate());
        return true;
    case ID_IMAGE_SMOOTH:
        ui.Enable(CanSmooth());
        return true;
    }
    return false;
}
