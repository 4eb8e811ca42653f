#pragma once
#include <windows.h>

#include <functional>

#include "common/Twain.h"

// What a process shares of its TWAIN data source manager: one manager per process, the source it opened and
// whether the manager is there at all. `load` finds the manager's entry point (and module), `unload` lets it go:
// TWAIN_32.DLL in the Windows folder for the program, a scripted manager in tests.
struct TwainManagerLink {
    enum class Availability { kNotProbed, kAvailable, kUnavailable };

    HMODULE module = nullptr;
    DSMENTRYPROC entry = nullptr;
    TW_IDENTITY source{};
    Availability availability = Availability::kNotProbed;
    std::function<DSMENTRYPROC(HMODULE& module)> load;
    std::function<void(HMODULE module)> unload;
};

// The process's link: TWAIN_32.DLL from the Windows folder, when a file is there and exports DSM_Entry.
TwainManagerLink& ProcessTwainManager();

// An application's TWAIN connection, in the standard's states: 1 manager not loaded, 2 loaded, 3 opened with the
// parent window, 4 source opened, 5 source enabled (its window up), 6 transfer ready, 7 transferring. Every call
// goes to the manager or through it to the source and keeps its return code; only the calls' results move the
// state, by the standard's table. Images arrive by native transfer, each a packed bitmap the receiver owns.
class CTwainClient {
public:
    explicit CTwainClient(TwainManagerLink& link = ProcessTwainManager());
    virtual ~CTwainClient();
    CTwainClient(const CTwainClient&) = delete;
    CTwainClient& operator=(const CTwainClient&) = delete;

    int State() const { return m_state; }
    TW_UINT16 ReturnCode() const { return m_returnCode; }
    void SetParentWindow(HWND parent) { m_parent = parent; }

    // May load the manager: a successful probe leaves it loaded.
    bool IsAvailable();
    bool LoadManager();
    bool OpenManager(HWND window = nullptr);
    // The manager's chooser; the user's choice becomes its default source. The state is as it was afterwards.
    bool SelectSource(HWND window = nullptr);
    bool OpenSource();
    bool EnableSource(HWND window = nullptr);
    bool DisableSource();
    bool CloseSource();
    bool CloseManager(HWND window = nullptr);
    bool UnloadManager();
    bool EndTransfer();
    bool CancelTransfers();
    bool DropToState(int state, HWND window = nullptr);
    // Opens manager and source as needed and enables the source; images then arrive through ProcessMessage.
    bool Acquire(HWND window = nullptr);
    // Offers a queued message to the enabled source; true when it was the source's.
    bool ProcessMessage(MSG& msg);

protected:
    // The source has images ready: they are transferred one by one until none is pending.
    virtual void TransferImages();
    // The source asks to be closed (its window was closed).
    virtual void CloseRequest() { CloseSource(); }
    // A transferred image; the receiver owns the block. Here it is freed.
    virtual void ImageReceived(HGLOBAL image) { GlobalFree(image); }
    virtual void StateChanged(int /*state*/) {}
    // A step failed: 0 opening the manager, 1 opening the source, 2 enabling the source.
    virtual void Error(int /*code*/) {}

private:
    bool CallManager(TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data);
    bool CallSource(TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data);
    void SetState(int state);
    HWND WindowFor(HWND window) const;

    TwainManagerLink& m_link;
    int m_state = 1;
    TW_IDENTITY m_identity{};
    TW_UINT16 m_returnCode = TWRC_SUCCESS;
    TW_USERINTERFACE m_userInterface{};
    bool m_showInterface = true;
    TW_PENDINGXFERS m_pending{};
    HWND m_parent = nullptr;
};
