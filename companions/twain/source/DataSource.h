#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/Twain.h"
#include "companions/twain/source/ScanPass.h"
#include "companions/twain/source/ScannerWindow.h"

// The KDM-540's TWAIN data source, in the standard's source states: 3 closed, 4 open, 5 enabled (the window up, or
// a scan without it under way), 6 transfers pending, 7 transferring. Pages go to the application by native
// transfer, one packed bitmap per page; it learns of them, and of a wish to close, through the manager (DAT_NULL).
// Every page delivered while the source is open is also written, after each pass, to the received-fax folder's
// scan file, which the application adopts once the source has closed.
class CDataSource final : private IScannerRequests {
public:
    CDataSource() : m_window(*this) {}

    static TW_IDENTITY Identity();

    TW_UINT16 Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data);

private:
    TW_UINT16 OnIdentity(TW_IDENTITY* origin, TW_UINT16 message, TW_IDENTITY* identity);
    TW_UINT16 OnUserInterface(TW_UINT16 message, const TW_USERINTERFACE* ui);
    TW_UINT16 OnEvent(TW_EVENT* event);
    TW_UINT16 OnPendingTransfers(TW_UINT16 message, TW_PENDINGXFERS* pending);
    TW_UINT16 OnNativeTransfer(TW_HANDLE* image);
    TW_UINT16 OnStatus(TW_STATUS* status);
    TW_UINT16 Fail(TW_UINT16 condition);

    void ScanPressed(const ScanSettings& settings) override;
    void CloseAsked() override;
    // A pass over the pages `settings` ask for; false when there is nothing to scan (the window says why).
    bool StartPass(const ScanSettings& settings);
    void EndPass();
    void WriteScanFile();
    // Tells the application through the manager: MSG_XFERREADY or MSG_CLOSEDSREQ.
    void Notify(TW_UINT16 message);

    int m_state = 3;
    TW_UINT16 m_condition = TWCC_SUCCESS;
    TW_IDENTITY m_self{};
    TW_IDENTITY m_application{};
    bool m_showUI = false;
    ScanSettings m_settings;
    CScanPass m_pass;
    bool m_cancelled = false;                    // in this pass
    std::vector<scan::ScannedPage> m_delivered;  // since the source was opened
    CScannerWindow m_window;
};
