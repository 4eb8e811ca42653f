#pragma once
#include <string>

#include "common/CommonResources.h"
#include "framework/Dialog.h"

// The small modeless window shown while a long load, save or clear runs: a bar from 0 to 100 and a text. Made
// with new; the object deletes itself when its window is destroyed, by CloseAfter's timer or with its owner.
class CProgressDlg : public CDialog {
public:
    // Shows a new window with the text and paints it at once; null when it cannot be made.
    static CProgressDlg* Open(HWND owner, std::string text);
    // Lets the windows repaint while the caller is busy (nothing else is handled meanwhile), then moves the bar.
    void SetPosition(int percent);
    void CloseAfter(UINT milliseconds);

private:
    explicit CProgressDlg(std::string text) : CDialog(IDD_PROGRESS), m_text(std::move(text)) {}
    static constexpr UINT_PTR kCloseTimer = 1;

    BOOL OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnCancel() override {}
    void PostNcDestroy() override { delete this; }

    std::string m_text;
};
