#include "companions/twain/manager/SourceManager.h"

#include <cstring>

#include "companions/twain/manager/SourceChooser.h"

namespace {
// Holds the manager for one application request.
class CRequestLock {
public:
    explicit CRequestLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    ~CRequestLock() { LeaveCriticalSection(&m_section); }
    CRequestLock(const CRequestLock&) = delete;
    CRequestLock& operator=(const CRequestLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

// Holds the application table: shared to read it from a notifying source, exclusive to change it.
class CTableLock {
public:
    CTableLock(SRWLOCK& lock, bool exclusive) : m_lock(lock), m_exclusive(exclusive) {
        m_exclusive ? AcquireSRWLockExclusive(&m_lock) : AcquireSRWLockShared(&m_lock);
    }
    ~CTableLock() { m_exclusive ? ReleaseSRWLockExclusive(&m_lock) : ReleaseSRWLockShared(&m_lock); }
    CTableLock(const CTableLock&) = delete;
    CTableLock& operator=(const CTableLock&) = delete;

private:
    SRWLOCK& m_lock;
    bool m_exclusive;
};

bool IsSourceNotification(TW_UINT16 message) {
    return message == MSG_XFERREADY || message == MSG_CLOSEDSREQ || message == MSG_CLOSEDSOK ||
           message == MSG_DEVICEEVENT;
}
}  // namespace

CSourceManager::CSourceManager(HINSTANCE instance) : m_instance(instance) {
    InitializeCriticalSection(&m_requests);
}

CSourceManager::~CSourceManager() {
    // The open sources' libraries go with their records.
    m_applications.clear();
    DeleteCriticalSection(&m_requests);
}

TW_UINT16 CSourceManager::Fail(TW_UINT16 condition) {
    m_condition = condition;
    return TWRC_FAILURE;
}

TW_UINT16 CSourceManager::Entry(TW_IDENTITY* origin,
                                TW_IDENTITY* dest,
                                TW_UINT32 group,
                                TW_UINT16 type,
                                TW_UINT16 message,
                                TW_MEMREF data) {
    if (!dest && group == DG_CONTROL && type == DAT_STATUS && message == MSG_GET)
        return Status(data);
    // Only a source sends DAT_NULL, to the application that opened it.
    if (dest && group == DG_CONTROL && type == DAT_NULL)
        return Notify(origin, dest, message);

    CRequestLock requests(m_requests);
    m_condition = TWCC_SUCCESS;
    if (!origin)
        return Fail(TWCC_BADVALUE);
    if (!dest && group == DG_CONTROL && type == DAT_PARENT && message == MSG_OPENDSM)
        return OpenManager(origin, data);
    Application* app = Find(origin->Id);
    if (!app)
        return Fail(TWCC_SEQERROR);
    if (dest)
        return ToSource(*app, origin, dest, group, type, message, data);
    if (group == DG_CONTROL && type == DAT_PARENT && message == MSG_CLOSEDSM)
        return CloseManager(origin);
    if (group == DG_CONTROL && type == DAT_IDENTITY) {
        switch (message) {
        case MSG_GETFIRST:
            return FirstSource(*app, data);
        case MSG_GETNEXT:
            return NextSource(*app, data);
        case MSG_GETDEFAULT:
            return DefaultSource(*app, data);
        case MSG_USERSELECT:
            return SelectSource(*app, data);
        case MSG_OPENDS:
            return OpenSource(*app, origin, data);
        case MSG_CLOSEDS:
            return CloseSource(*app, origin, static_cast<TW_IDENTITY*>(data), data);
        }
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 CSourceManager::Status(TW_MEMREF data) {
    if (!data)
        return Fail(TWCC_BADVALUE);
    auto* status = static_cast<TW_STATUS*>(data);
    status->ConditionCode = m_condition.exchange(TWCC_SUCCESS);
    status->Reserved = 0;
    return TWRC_SUCCESS;
}

TW_UINT16 CSourceManager::Notify(TW_IDENTITY* source, TW_IDENTITY* application, TW_UINT16 message) {
    if (!source || !application)
        return Fail(TWCC_BADVALUE);
    if (!IsSourceNotification(message))
        return Fail(TWCC_BADPROTOCOL);
    HWND window = nullptr;
    UINT notification = 0;
    {
        CTableLock table(m_table, false);
        const Application* app = Find(application->Id);
        if (!app || !app->source || app->source->identity.Id != source->Id)
            return Fail(TWCC_BADDEST);
        window = app->window;
        notification = m_notification;
    }
    // Posted, not sent: the source may call from its own thread, and the application takes the message from its
    // queue into MSG_PROCESSEVENT as Windows' manager has it do.
    if (!IsWindow(window) || !PostMessageA(window, notification, message, static_cast<LPARAM>(source->Id)))
        return Fail(TWCC_BUMMER);
    return TWRC_SUCCESS;
}

TW_UINT16 CSourceManager::OpenManager(TW_IDENTITY* origin, TW_MEMREF data) {
    if (!data)
        return Fail(TWCC_BADVALUE);
    if (origin->Id != 0 && Find(origin->Id))
        return Fail(TWCC_SEQERROR);
    const UINT notification = RegisterWindowMessageA(kSourceNotificationMessage);
    auto app = std::make_unique<Application>();
    app->window = *static_cast<HWND*>(data);
    CTableLock table(m_table, true);
    m_notification = notification;
    origin->Id = m_nextId++;
    app->identity = *origin;
    m_applications.push_back(std::move(app));
    return TWRC_SUCCESS;
}

TW_UINT16 CSourceManager::CloseManager(TW_IDENTITY* origin) {
    CTableLock table(m_table, true);
    for (auto it = m_applications.begin(); it != m_applications.end(); ++it) {
        if ((*it)->identity.Id != origin->Id)
            continue;
        if ((*it)->source)
            return Fail(TWCC_SEQERROR);
        m_applications.erase(it);
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_SEQERROR);
}

TW_UINT16 CSourceManager::FirstSource(Application& app, TW_MEMREF data) {
    if (!data)
        return Fail(TWCC_BADVALUE);
    app.listed.clear();
    app.next = 0;
    for (const SourceFile& source : Scan(app))
        app.listed.push_back(source.identity);
    return NextSource(app, data);
}

TW_UINT16 CSourceManager::NextSource(Application& app, TW_MEMREF data) {
    if (!data)
        return Fail(TWCC_BADVALUE);
    if (app.next >= app.listed.size())
        return TWRC_ENDOFLIST;
    *static_cast<TW_IDENTITY*>(data) = app.listed[app.next++];
    return TWRC_SUCCESS;
}

TW_UINT16 CSourceManager::DefaultSource(Application& app, TW_MEMREF data) {
    if (!data)
        return Fail(TWCC_BADVALUE);
    const std::vector<SourceFile> sources = Scan(app);
    if (sources.empty())
        return Fail(TWCC_NODS);
    *static_cast<TW_IDENTITY*>(data) = sources[DefaultIndex(sources)].identity;
    return TWRC_SUCCESS;
}

TW_UINT16 CSourceManager::SelectSource(Application& app, TW_MEMREF data) {
    if (!data)
        return Fail(TWCC_BADVALUE);
    const std::vector<SourceFile> sources = Scan(app);
    CSourceChooser chooser(m_instance, sources, sources.empty() ? 0 : DefaultIndex(sources));
    switch (chooser.Run(app.window)) {
    case IDOK:
        SetDefaultSourcePath(sources[chooser.Chosen()].path);
        *static_cast<TW_IDENTITY*>(data) = sources[chooser.Chosen()].identity;
        return TWRC_SUCCESS;
    case IDCANCEL:
        return TWRC_CANCEL;
    }
    return Fail(TWCC_BUMMER);
}

// One open source per application keeps the routing by the application alone; Windows' manager allows several.
TW_UINT16 CSourceManager::OpenSource(Application& app, TW_IDENTITY* origin, TW_MEMREF data) {
    auto* requested = static_cast<TW_IDENTITY*>(data);
    if (!requested)
        return Fail(TWCC_BADVALUE);
    if (app.source)
        return Fail(TWCC_SEQERROR);
    const std::vector<SourceFile> sources = Scan(app);
    const SourceFile* chosen = nullptr;
    if (requested->Id == 0 && requested->ProductName[0] == '\0') {
        if (!sources.empty())
            chosen = &sources[DefaultIndex(sources)];
    } else {
        for (const SourceFile& source : sources)
            if (source.identity.Id == requested->Id)
                chosen = &source;
        for (const SourceFile& source : sources)
            if (!chosen && std::strncmp(source.identity.ProductName, requested->ProductName, sizeof(TW_STR32)) == 0)
                chosen = &source;
    }
    if (!chosen)
        return Fail(TWCC_NODS);

    const TW_UINT32 appId = app.identity.Id;
    auto open = std::make_unique<OpenedSource>(*chosen);
    if (!open->library)
        return Fail(TWCC_NODS);
    const TW_UINT16 result = open->library.Call(origin, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &open->identity);
    open->identity.Id = chosen->identity.Id;
    if (result != TWRC_SUCCESS) {
        // The source is let go at once, so its own status is asked now and becomes the manager's.
        TW_STATUS status{};
        const bool known = open->library.Call(origin, DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS;
        m_condition = known ? status.ConditionCode : TWCC_BUMMER;
        return result;
    }
    *requested = open->identity;
    CTableLock table(m_table, true);
    // The application is looked up again: the source ran, and may have called back.
    if (Application* current = Find(appId))
        current->source = std::move(open);
    return TWRC_SUCCESS;
}

TW_UINT16 CSourceManager::CloseSource(Application& app, TW_IDENTITY* origin, TW_IDENTITY* source, TW_MEMREF data) {
    if (!source)
        return Fail(TWCC_BADVALUE);
    if (!app.source || app.source->identity.Id != source->Id)
        return Fail(TWCC_BADDEST);
    const TW_UINT32 appId = app.identity.Id;
    const TW_UINT16 result = app.source->library.Call(origin, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, data);
    if (result != TWRC_SUCCESS)
        return result;
    std::unique_ptr<OpenedSource> closed;
    {
        CTableLock table(m_table, true);
        if (Application* current = Find(appId))
            closed = std::move(current->source);
    }
    // The library is freed outside the lock: its DllMain may wait for a thread that is notifying.
    return TWRC_SUCCESS;
}

TW_UINT16 CSourceManager::ToSource(Application& app,
                                   TW_IDENTITY* origin,
                                   TW_IDENTITY* dest,
                                   TW_UINT32 group,
                                   TW_UINT16 type,
                                   TW_UINT16 message,
                                   TW_MEMREF data) {
    if (group == DG_CONTROL && type == DAT_IDENTITY && message == MSG_CLOSEDS)
        return CloseSource(app, origin, dest, data ? data : dest);
    if (!app.source || app.source->identity.Id != dest->Id)
        return Fail(TWCC_BADDEST);
    if (group == DG_CONTROL && type == DAT_EVENT && message == MSG_PROCESSEVENT) {
        auto* event = static_cast<TW_EVENT*>(data);
        if (!event || !event->pEvent)
            return Fail(TWCC_BADVALUE);
        const MSG* msg = static_cast<const MSG*>(event->pEvent);
        if (msg->message == m_notification && msg->lParam == static_cast<LPARAM>(dest->Id)) {
            event->TWMessage = static_cast<TW_UINT16>(msg->wParam);
            return TWRC_DSEVENT;
        }
    }
    return app.source->library.Call(origin, group, type, message, data);
}

CSourceManager::Application* CSourceManager::Find(TW_UINT32 id) {
    for (auto& app : m_applications)
        if (app->identity.Id == id)
            return app.get();
    return nullptr;
}

std::vector<SourceFile> CSourceManager::Scan(Application& app) {
    // Sources open in this process answered already; they are not loaded and asked again mid-session.
    std::vector<SourceFile> open;
    for (const auto& each : m_applications)
        if (each->source)
            open.push_back({each->source->path, each->source->identity});

    TW_IDENTITY asking = app.identity;
    std::vector<SourceFile> sources;
    for (const std::string& path : FindSourceFiles(SourceFolder())) {
        SourceFile found{path, {}};
        bool known = false;
        for (const SourceFile& each : open)
            if (SamePath(each.path, path)) {
                found.identity = each.identity;
                known = true;
            }
        if (!known && !ProbeSource(path, &asking, found.identity))
            continue;
        TW_UINT32 id = 0;
        for (const auto& [idPath, idValue] : m_sourceIds)
            if (SamePath(idPath, path))
                id = idValue;
        if (id == 0) {
            id = m_nextId++;
            m_sourceIds.emplace_back(path, id);
        }
        found.identity.Id = id;
        sources.push_back(found);
    }
    return sources;
}

size_t CSourceManager::DefaultIndex(const std::vector<SourceFile>& sources) const {
    const std::string path = DefaultSourcePath();
    for (size_t i = 0; i < sources.size(); ++i)
        if (SamePath(sources[i].path, path))
            return i;
    return 0;
}
