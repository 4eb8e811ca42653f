#pragma once
#include <string>

#include "common/SuiteApp.h"
#include "common/core/LogRecord.h"
#include "framework/SingleInstance.h"
#include "logbook/LogbookView.h"
#include "logbook/MainFrame.h"

// The log viewer: one main window showing the send log or the receive log; one running copy, to which a second
// start hands the list it was asked for.
class CLogbookApp : public CSuiteApp {
public:
    CLogbookApp() : m_instance("Mirolo Log Viewer") {}

    // The list named on the command line (the send list when none is), then the one last switched to.
    LogKind StartList() const { return m_startList; }
    void SetShownList(LogKind kind) { m_startList = kind; }
    // "receive.csv" in the argument, in any case, names the receive list; "send.csv" the send list.
    static LogKind ListFromCommandLine(const std::string& argument);

    CMainFrame& Frame() { return m_frame; }
    CLogbookView& View() { return m_view; }
    void OnMainWindowClosing();

    // The main window and its view, without the settings and the single-instance rule: what the program
    // shows, for starting it and for tests.
    bool CreateMainWindow();
    void DestroyMainWindow();

protected:
    BOOL InitInstance() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool OnIdle(int count) override;

private:
    void AddAboutToSystemMenu() const;

    CSingleInstance m_instance;
    CMainFrame m_frame;
    CLogbookView m_view;
    LogKind m_startList = LogKind::kSend;
};

CLogbookApp& TheLogbookApp();
