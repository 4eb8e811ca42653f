#pragma once
#include <windows.h>

#include <string>

#include "companions/twain/source/ScanSettings.h"

// What the scanner's window asks of its data source.
class IScannerRequests {
public:
    virtual void ScanPressed(const ScanSettings& settings) = 0;
    // Cancel, Esc or the close box while no pass runs.
    virtual void CloseAsked() = 0;

protected:
    ~IScannerRequests() = default;
};

// The scanner's own window over the application: resolution, number of pages and what to scan, Scan and Cancel.
// It is modeless, as TWAIN wants (the application's loop hands it its messages), but keeps its owner disabled
// while it is up, so the document cannot change under a scan.
class CScannerWindow {
public:
    explicit CScannerWindow(IScannerRequests& requests) : m_requests(requests) {}
    ~CScannerWindow() { Destroy(); }
    CScannerWindow(const CScannerWindow&) = delete;
    CScannerWindow& operator=(const CScannerWindow&) = delete;

    bool Create(HWND owner, const ScanSettings& settings);
    void Destroy();
    bool IsUp() const { return m_window != nullptr; }
    // Keyboard navigation of the window's controls; true when the message was the window's.
    bool TakeDialogMessage(MSG& msg);

    // While a pass runs only Cancel can be pressed.
    void SetScanning(bool scanning);
    void ShowStatus(const std::string& text);
    void ShowMessage(const std::string& text, UINT icon);
    // Handles what is queued for the window, such as a click on Cancel during a pass; true once Cancel was pressed.
    bool CancelPressed();

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnScan();
    void OnCancel();
    void OnBrowse();
    void EnableControls();
    void CentreOverOwner();

    IScannerRequests& m_requests;
    HWND m_window = nullptr;
    HWND m_owner = nullptr;
    bool m_ownerWasEnabled = false;
    ScanSettings m_settings;
    bool m_scanning = false;
    bool m_cancelPressed = false;
};
