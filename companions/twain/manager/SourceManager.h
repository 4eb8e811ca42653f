#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "common/Twain.h"
#include "companions/twain/manager/SourceLibrary.h"

// The message the manager posts to an application's window when its source calls DG_CONTROL/DAT_NULL: wParam is
// the source's TWAIN message, lParam the source's Id. DAT_EVENT/MSG_PROCESSEVENT turns it back into TWMessage.
inline constexpr char kSourceNotificationMessage[] = "TWAIN_32 source notification";

// The data source manager of a process: the applications that opened it, each with at most one open source, and
// the Ids of the sources found on disk. Requests arrive through DSM_Entry from applications and, for DAT_NULL,
// from sources, possibly on a thread of their own.
class CSourceManager {
public:
    explicit CSourceManager(HINSTANCE instance);
    ~CSourceManager();
    CSourceManager(const CSourceManager&) = delete;
    CSourceManager& operator=(const CSourceManager&) = delete;

    TW_UINT16 Entry(TW_IDENTITY* origin,
                    TW_IDENTITY* dest,
                    TW_UINT32 group,
                    TW_UINT16 type,
                    TW_UINT16 message,
                    TW_MEMREF data);
    TW_UINT16 Fail(TW_UINT16 condition);

private:
    struct OpenedSource {
        explicit OpenedSource(const SourceFile& file) : path(file.path), identity(file.identity), library(file.path) {}
        std::string path;
        TW_IDENTITY identity;
        CSourceLibrary library;
    };
    struct Application {
        TW_IDENTITY identity;
        HWND window;
        std::unique_ptr<OpenedSource> source;
        std::vector<TW_IDENTITY> listed;  // MSG_GETFIRST's list, walked by MSG_GETNEXT
        size_t next = 0;
    };

    TW_UINT16 Status(TW_MEMREF data);
    TW_UINT16 Notify(TW_IDENTITY* source, TW_IDENTITY* application, TW_UINT16 message);
    TW_UINT16 OpenManager(TW_IDENTITY* origin, TW_MEMREF data);
    TW_UINT16 CloseManager(TW_IDENTITY* origin);
    TW_UINT16 FirstSource(Application& app, TW_MEMREF data);
    TW_UINT16 NextSource(Application& app, TW_MEMREF data);
    TW_UINT16 DefaultSource(Application& app, TW_MEMREF data);
    TW_UINT16 SelectSource(Application& app, TW_MEMREF data);
    TW_UINT16 OpenSource(Application& app, TW_IDENTITY* origin, TW_MEMREF data);
    TW_UINT16 CloseSource(Application& app, TW_IDENTITY* origin, TW_IDENTITY* source, TW_MEMREF data);
    TW_UINT16 ToSource(Application& app,
                       TW_IDENTITY* origin,
                       TW_IDENTITY* dest,
                       TW_UINT32 group,
                       TW_UINT16 type,
                       TW_UINT16 message,
                       TW_MEMREF data);

    Application* Find(TW_UINT32 id);
    std::vector<SourceFile> Scan(Application& app);
    size_t DefaultIndex(const std::vector<SourceFile>& sources) const;

    HINSTANCE m_instance;
    // Applications' requests run one at a time (re-entrant: a source may call back from inside its DS_Entry).
    CRITICAL_SECTION m_requests;
    // Guards what DAT_NULL reads from a source's own thread: the application table, its windows and open
    // sources. Held only for the change itself, never while a source or the chooser runs.
    SRWLOCK m_table = SRWLOCK_INIT;
    std::vector<std::unique_ptr<Application>> m_applications;    // stay put while a request holds one
    std::vector<std::pair<std::string, TW_UINT32>> m_sourceIds;  // Ids stay with a library's path
    TW_UINT32 m_nextId = 1;
    UINT m_notification = 0;
    std::atomic<TW_UINT16> m_condition{TWCC_SUCCESS};
};
