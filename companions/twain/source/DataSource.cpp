#include "companions/twain/source/DataSource.h"

#include <cstring>

#include "common/WholeFile.h"
#include "common/core/SuiteFolders.h"
#include "companions/twain/source/resource.h"
#include "framework/Resources.h"

namespace {
constexpr const char* kScanFileName = "scantemp.smh";

void CopyName(TW_STR32& field, const char* text) {
    strncpy(field, text, sizeof field - 1);
    field[sizeof field - 1] = '\0';
}

std::string ScanFilePath() {
    const std::string folder = ReceivedFaxFolder();
    return folder.empty() ? std::string() : FileInFolder(folder, kScanFileName);
}

// The page as the application receives it: a packed bitmap in a movable global block that it then owns.
HGLOBAL PageBlock(const scan::ScannedPage& page) {
    const std::vector<uint8_t> dib = scan::DeliveredBitmap(page.image, page.resolution);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    if (!block)
        return nullptr;
    void* bits = GlobalLock(block);
    memcpy(bits, dib.data(), dib.size());
    GlobalUnlock(block);
    return block;
}
}  // namespace

TW_IDENTITY CDataSource::Identity() {
    TW_IDENTITY identity{};
    identity.Version = {1, 0, TWLG_CHINESE_PRC, TWCY_CHINA, {}};
    CopyName(identity.Version.Info, "1.0");
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 7;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyName(identity.Manufacturer, "ORVEX");
    CopyName(identity.ProductFamily, "KDM-540");
    CopyName(identity.ProductName, "KDM-540 扫描仪");
    return identity;
}

TW_UINT16 CDataSource::Fail(TW_UINT16 condition) {
    m_condition = condition;
    return TWRC_FAILURE;
}

TW_UINT16 CDataSource::Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
    if (group == DG_CONTROL && type == DAT_IDENTITY)
        return OnIdentity(origin, message, static_cast<TW_IDENTITY*>(data));
    if (group == DG_CONTROL && type == DAT_STATUS && message == MSG_GET)
        return OnStatus(static_cast<TW_STATUS*>(data));
    if (m_state < 4 || !origin || origin->Id != m_application.Id)
        return Fail(TWCC_SEQERROR);
    if (group == DG_CONTROL && type == DAT_USERINTERFACE)
        return OnUserInterface(message, static_cast<const TW_USERINTERFACE*>(data));
    if (group == DG_CONTROL && type == DAT_EVENT && message == MSG_PROCESSEVENT)
        return OnEvent(static_cast<TW_EVENT*>(data));
    if (group == DG_CONTROL && type == DAT_PENDINGXFERS)
        return OnPendingTransfers(message, static_cast<TW_PENDINGXFERS*>(data));
    if (group == DG_IMAGE && type == DAT_IMAGENATIVEXFER && message == MSG_GET)
        return OnNativeTransfer(static_cast<TW_HANDLE*>(data));
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 CDataSource::OnIdentity(TW_IDENTITY* origin, TW_UINT16 message, TW_IDENTITY* identity) {
    if (!identity)
        return Fail(TWCC_BADVALUE);
    switch (message) {
    case MSG_GET: {
        const TW_UINT32 id = identity->Id;
        *identity = Identity();
        identity->Id = id;
        return TWRC_SUCCESS;
    }
    case MSG_OPENDS: {
        if (m_state != 3)
            return Fail(TWCC_SEQERROR);
        if (!origin)
            return Fail(TWCC_BADVALUE);
        const TW_UINT32 id = identity->Id;
        *identity = Identity();
        identity->Id = id;
        m_self = *identity;
        m_application = *origin;
        m_settings = ScanSettings::Load();
        m_delivered.clear();
        // A scan file of an earlier session must not pass for this one's.
        const std::string scanFile = ScanFilePath();
        if (!scanFile.empty())
            DeleteFileA(scanFile.c_str());
        m_state = 4;
        return TWRC_SUCCESS;
    }
    case MSG_CLOSEDS:
        if (m_state != 4)
            return Fail(TWCC_SEQERROR);
        m_delivered.clear();
        m_state = 3;
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 CDataSource::OnUserInterface(TW_UINT16 message, const TW_USERINTERFACE* ui) {
    switch (message) {
    case MSG_ENABLEDS:
        if (m_state != 4)
            return Fail(TWCC_SEQERROR);
        if (!ui)
            return Fail(TWCC_BADVALUE);
        m_showUI = ui->ShowUI != 0;
        if (m_showUI) {
            if (!m_window.Create(static_cast<HWND>(ui->hParent), m_settings))
                return Fail(TWCC_OPERATIONERROR);
            m_state = 5;
            return TWRC_SUCCESS;
        }
        // Without its window the source scans at once, as last set; there is no one to tell why it cannot.
        if (!StartPass(m_settings))
            return Fail(TWCC_OPERATIONERROR);
        m_state = 6;
        Notify(MSG_XFERREADY);
        return TWRC_SUCCESS;
    case MSG_DISABLEDS:
        // Also before the application has learnt of pages ready: they are not scanned then.
        if (m_state != 5 && m_state != 6)
            return Fail(TWCC_SEQERROR);
        m_window.Destroy();
        m_pass.Stop();
        m_state = 4;
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 CDataSource::OnEvent(TW_EVENT* event) {
    if (!event || !event->pEvent)
        return Fail(TWCC_BADVALUE);
    event->TWMessage = MSG_NULL;
    if (m_state < 5)
        return Fail(TWCC_SEQERROR);
    return m_window.TakeDialogMessage(*static_cast<MSG*>(event->pEvent)) ? TWRC_DSEVENT : TWRC_NOTDSEVENT;
}

TW_UINT16 CDataSource::OnPendingTransfers(TW_UINT16 message, TW_PENDINGXFERS* pending) {
    if (!pending)
        return Fail(TWCC_BADVALUE);
    switch (message) {
    case MSG_GET:
        if (m_state < 4)
            return Fail(TWCC_SEQERROR);
        pending->Count = static_cast<TW_UINT16>(m_state >= 6 ? m_pass.Pending() : 0);
        return TWRC_SUCCESS;
    case MSG_ENDXFER:
        if (m_state != 7)
            return Fail(TWCC_SEQERROR);
        pending->Count = static_cast<TW_UINT16>(m_pass.Pending());
        m_state = pending->Count ? 6 : 5;
        if (m_state == 5)
            EndPass();
        return TWRC_SUCCESS;
    case MSG_RESET:
        if (m_state != 6)
            return Fail(TWCC_SEQERROR);
        m_pass.Stop();
        pending->Count = 0;
        m_state = 5;
        EndPass();
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 CDataSource::OnNativeTransfer(TW_HANDLE* image) {
    if (!image)
        return Fail(TWCC_BADVALUE);
    if (m_state != 6)
        return Fail(TWCC_SEQERROR);
    // A click on Cancel waits in the window's queue while the application pulls pages: look before each page.
    if (m_window.CancelPressed()) {
        m_pass.Stop();
        m_cancelled = true;
        m_state = 7;
        return TWRC_CANCEL;
    }
    m_window.ShowStatus(FormatResString(IDS_SCANNING, std::to_string(m_pass.Scanned() + 1)));
    scan::ScannedPage page = m_pass.ScanNext();
    HGLOBAL block = PageBlock(page);
    if (!block)
        return Fail(TWCC_LOWMEMORY);
    m_delivered.push_back(std::move(page));
    *image = block;
    m_state = 7;
    return TWRC_XFERDONE;
}

TW_UINT16 CDataSource::OnStatus(TW_STATUS* status) {
    if (!status)
        return Fail(TWCC_BADVALUE);
    status->ConditionCode = m_condition;
    status->Reserved = 0;
    m_condition = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

void CDataSource::ScanPressed(const ScanSettings& settings) {
    if (m_state != 5 || !StartPass(settings))
        return;
    m_settings = settings;
    m_settings.Save();
    m_window.SetScanning(true);
    m_state = 6;
    Notify(MSG_XFERREADY);
}

void CDataSource::CloseAsked() {
    if (m_state == 5)
        Notify(MSG_CLOSEDSREQ);
}

bool CDataSource::StartPass(const ScanSettings& settings) {
    m_cancelled = false;
    std::vector<std::string> skipped;
    switch (m_pass.Start(settings, skipped)) {
    case CScanPass::Problem::kNoFolder:
        if (m_window.IsUp())
            m_window.ShowMessage(FormatResString(IDS_NO_FOLDER, settings.folder), MB_ICONEXCLAMATION);
        return false;
    case CScanPass::Problem::kNoPictures:
        if (m_window.IsUp())
            m_window.ShowMessage(FormatResString(IDS_NO_PICTURES, settings.folder), MB_ICONEXCLAMATION);
        return false;
    case CScanPass::Problem::kNone:
        break;
    }
    if (!skipped.empty() && m_window.IsUp()) {
        std::string names;
        for (const std::string& name : skipped)
            names += (names.empty() ? "" : ", ") + name;
        m_window.ShowMessage(FormatResString(IDS_SKIPPED_PICTURES, names), MB_ICONINFORMATION);
    }
    return true;
}

void CDataSource::EndPass() {
    WriteScanFile();
    m_window.SetScanning(false);
    m_window.ShowStatus(m_cancelled ? LoadResString(IDS_CANCELLED)
                                    : FormatResString(IDS_SCANNED, std::to_string(m_pass.Scanned())));
    if (!m_showUI)
        Notify(MSG_CLOSEDSREQ);
}

void CDataSource::WriteScanFile() {
    const std::string path = ScanFilePath();
    if (m_delivered.empty() || path.empty())
        return;
    const std::vector<uint8_t> file = scan::ScanFile(m_delivered);
    if (ReplaceWholeFile(path, {reinterpret_cast<const char*>(file.data()), file.size()}) == FileResult::kOk)
        return;
    // Better no scan file than one that lacks this pass's pages: the application then says it has none.
    DeleteFileA(path.c_str());
    m_window.ShowStatus(FormatResString(IDS_CANNOT_SAVE_SCAN, path));
}

void CDataSource::Notify(TW_UINT16 message) {
    HMODULE manager = GetModuleHandleA("TWAIN_32.DLL");
    auto entry = manager ? reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(GetProcAddress(manager, "DSM_Entry")))
                         : nullptr;
    if (entry)
        entry(&m_self, &m_application, DG_CONTROL, DAT_NULL, message, nullptr);
}
