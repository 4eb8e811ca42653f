#include "viewer/TwainClient.h"

#include <cstring>
#include <string>

#include "common/core/SuiteFolders.h"
#include "framework/App.h"

namespace {
void CopyText(TW_STR32& field, const char* text) {
    std::strncpy(field, text, sizeof field - 1);
    field[sizeof field - 1] = '\0';
}

TW_IDENTITY ApplicationIdentity() {
    TW_IDENTITY identity{};
    identity.Version.MajorNum = 1;
    identity.Version.MinorNum = 0;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_USA;
    CopyText(identity.Version.Info, "<?>");
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 7;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(identity.Manufacturer, "<?>");
    CopyText(identity.ProductFamily, "<?>");
    CopyText(identity.ProductName, "<?>");
    return identity;
}

DSMENTRYPROC LoadFromWindowsFolder(HMODULE& module) {
    module = nullptr;
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return nullptr;
    const std::string path = FileInFolder(folder, "TWAIN_32.DLL");
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return nullptr;
    module = LoadLibraryA(path.c_str());
    if (!module)
        return nullptr;
    auto entry = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(GetProcAddress(module, "DSM_Entry")));
    if (!entry) {
        FreeLibrary(module);
        module = nullptr;
    }
    return entry;
}
}  // namespace

TwainManagerLink& ProcessTwainManager() {
    static TwainManagerLink link{
        nullptr, nullptr, {}, TwainManagerLink::Availability::kNotProbed, &LoadFromWindowsFolder, [](HMODULE module) {
            FreeLibrary(module);
        }};
    return link;
}

CTwainClient::CTwainClient(TwainManagerLink& link) : m_link(link), m_identity(ApplicationIdentity()) {}

CTwainClient::~CTwainClient() {
    CloseManager();
    UnloadManager();
}

void CTwainClient::SetState(int state) {
    if (state == m_state)
        return;
    m_state = state;
    StateChanged(state);
}

HWND CTwainClient::WindowFor(HWND window) const {
    if (window)
        return window;
    if (m_parent)
        return m_parent;
    CWinApp* app = TheApp();
    return app ? app->MainWindow() : nullptr;
}

bool CTwainClient::CallManager(TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
    if (!m_link.entry)
        return false;
    m_returnCode = m_link.entry(&m_identity, nullptr, group, type, message, data);
    if (m_returnCode != TWRC_SUCCESS || group != DG_CONTROL)
        return m_returnCode == TWRC_SUCCESS;
    if (type == DAT_PARENT && message == MSG_OPENDSM)
        SetState(3);
    else if (type == DAT_PARENT && message == MSG_CLOSEDSM)
        SetState(2);
    else if (type == DAT_IDENTITY && message == MSG_OPENDS)
        SetState(4);
    return true;
}

bool CTwainClient::CallSource(TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
    if (!m_link.entry)
        return false;
    m_returnCode = m_link.entry(&m_identity, &m_link.source, group, type, message, data);
    const bool success = m_returnCode == TWRC_SUCCESS;
    if (group == DG_IMAGE && type == DAT_IMAGENATIVEXFER && message == MSG_GET) {
        SetState(m_returnCode == TWRC_XFERDONE || m_returnCode == TWRC_CANCEL ? 7 : 6);
    } else if (group == DG_CONTROL && type == DAT_EVENT && message == MSG_PROCESSEVENT) {
        const TW_UINT16 event = static_cast<TW_EVENT*>(data)->TWMessage;
        if (event == MSG_XFERREADY)
            SetState(6);
        else if (event == MSG_CLOSEDSREQ)
            SetState(5);
    } else if (success && group == DG_CONTROL) {
        if (type == DAT_IDENTITY && message == MSG_CLOSEDS)
            SetState(3);
        else if (type == DAT_USERINTERFACE && message == MSG_ENABLEDS)
            SetState(5);
        else if (type == DAT_USERINTERFACE && message == MSG_DISABLEDS)
            SetState(4);
        else if (type == DAT_PENDINGXFERS && message == MSG_ENDXFER)
            SetState(m_pending.Count != 0 ? 6 : 5);
        else if (type == DAT_PENDINGXFERS && message == MSG_RESET)
            SetState(5);
    }
    return success;
}

bool CTwainClient::LoadManager() {
    if (m_state > 1)
        return true;
    m_link.entry = m_link.load ? m_link.load(m_link.module) : nullptr;
    if (!m_link.entry) {
        m_link.module = nullptr;
        return false;
    }
    m_link.availability = TwainManagerLink::Availability::kAvailable;
    SetState(2);
    return true;
}

bool CTwainClient::IsAvailable() {
    if (m_link.entry)
        return true;
    if (m_link.availability == TwainManagerLink::Availability::kNotProbed)
        m_link.availability =
            LoadManager() ? TwainManagerLink::Availability::kAvailable : TwainManagerLink::Availability::kUnavailable;
    return m_link.availability == TwainManagerLink::Availability::kAvailable;
}

bool CTwainClient::OpenManager(HWND window) {
    HWND parent = WindowFor(window);
    if (LoadManager() && m_state == 2)
        CallManager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent);
    return m_state > 2;
}

bool CTwainClient::SelectSource(HWND window) {
    const int saved = m_state;
    bool chosen = false;
    if (OpenManager(window)) {
        TW_IDENTITY scratch{};
        CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &scratch);
        chosen = CallManager(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &scratch);
    } else {
        Error(0);
    }
    DropToState(saved, window);
    return chosen;
}

bool CTwainClient::OpenSource() {
    if (m_state != 3)
        return false;
    m_link.source.Id = 0;
    m_link.source.ProductName[0] = '\0';
    CallManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &m_link.source);
    return m_state == 4;
}

bool CTwainClient::EnableSource(HWND window) {
    if (m_state != 4)
        return false;
    m_userInterface.ShowUI = m_showInterface;
    m_userInterface.ModalUI = FALSE;
    m_userInterface.hParent = WindowFor(window);
    CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &m_userInterface);
    return m_state == 5;
}

bool CTwainClient::DisableSource() {
    if (m_state == 5)
        CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &m_userInterface);
    return m_state < 5;
}

bool CTwainClient::CloseSource() {
    m_returnCode = TWRC_SUCCESS;
    if (m_state == 5)
        DisableSource();
    if (m_state == 4)
        CallSource(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_link.source);
    return m_state < 4;
}

bool CTwainClient::CloseManager(HWND window) {
    CloseSource();
    if (m_state > 2) {
        HWND parent = WindowFor(window);
        CallManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
    }
    return m_state < 3;
}

bool CTwainClient::UnloadManager() {
    m_returnCode = TWRC_SUCCESS;
    if (m_state == 2) {
        if (m_link.unload && m_link.module)
            m_link.unload(m_link.module);
        m_link.module = nullptr;
        m_link.entry = nullptr;
        SetState(1);
    }
    return m_state == 1;
}

bool CTwainClient::EndTransfer() {
    if (m_state == 7)
        CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &m_pending);
    return m_state < 7;
}

bool CTwainClient::CancelTransfers() {
    EndTransfer();
    if (m_state == 6)
        CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &m_pending);
    return m_state < 6;
}

bool CTwainClient::DropToState(int state, HWND window) {
    while (m_state > state) {
        const int before = m_state;
        switch (m_state) {
        case 2:
            UnloadManager();
            break;
        case 3:
            CloseManager(window);
            break;
        case 4:
            CloseSource();
            break;
        case 5:
            DisableSource();
            break;
        case 6:
            CancelTransfers();
            break;
        case 7:
            EndTransfer();
            break;
        }
        if (m_state >= before)
            return false;
    }
    return true;
}

bool CTwainClient::Acquire(HWND window) {
    const int saved = m_state;
    if (m_state <= 2 && !OpenManager(window)) {
        Error(0);
        DropToState(saved, window);
        return false;
    }
    if (m_state < 4 && !OpenSource()) {
        Error(1);
        DropToState(saved, window);
        return false;
    }
    if (m_state > 4 || EnableSource(window))
        return true;
    Error(2);
    DropToState(saved, window);
    return false;
}

bool CTwainClient::ProcessMessage(MSG& msg) {
    if (m_state < 5)
        return false;
    TW_EVENT event{&msg, MSG_NULL};
    CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const bool consumed = m_returnCode == TWRC_DSEVENT;
    switch (event.TWMessage) {
    case MSG_XFERREADY:
        TransferImages();
        break;
    case MSG_CLOSEDSREQ:
        CloseRequest();
        break;
    }
    return consumed;
}

void CTwainClient::TransferImages() {
    do {
        TW_HANDLE image = nullptr;
        CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image);
        if (m_returnCode != TWRC_XFERDONE)
            image = nullptr;
        // A transfer that failed outright is not tried again and again: the pending ones are dropped and the
        // source stays enabled for another scan.
        if (m_state == 6) {
            CancelTransfers();
            break;
        }
        EndTransfer();
        if (image)
            ImageReceived(static_cast<HGLOBAL>(image));
    } while (m_state == 6);
}
