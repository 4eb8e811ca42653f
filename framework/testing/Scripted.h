#pragma once
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "framework/CommonDialogs.h"
#include "framework/Help.h"
#include "framework/MessageBox.h"
#include "framework/Seam.h"
#include "framework/Shell.h"

// Test stand-ins for the seams: they record every call and answer from a script instead of a person.

struct MessageBoxCall {
    std::string text;
    std::string caption;
    UINT type;
};

class CScriptedMessageBoxes : public IMessageBoxes {
public:
    // Answers given in turn; IDOK once the script is used up.
    void Answer(int result) { m_answers.push_back(result); }
    int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    const std::vector<MessageBoxCall>& Calls() const { return m_calls; }

private:
    std::deque<int> m_answers;
    std::vector<MessageBoxCall> m_calls;
};

class CScriptedCommonDialogs : public ICommonDialogs {
public:
    // The next open dialog (ChooseFile) or save dialog (ChooseSaveFile) confirms with this path; with none
    // queued it is cancelled.
    void ChooseFile(std::string path) { m_files.push_back(std::move(path)); }
    void ChooseSaveFile(std::string path) { m_saveFiles.push_back(std::move(path)); }
    BOOL OpenFile(OPENFILENAMEA& ofn) override;
    BOOL SaveFile(OPENFILENAMEA& ofn) override;
    // The next print dialog returns this device context (the caller deletes it), with pages `from`..`to`
    // chosen when they are given; with none queued it is cancelled.
    void ChoosePrinter(HDC dc, WORD from = 0, WORD to = 0) { m_printers.push_back({dc, from, to}); }
    BOOL Print(PRINTDLGA& pd) override;

    struct PrintCall {
        DWORD flags;
        WORD minPage;
        WORD maxPage;
    };
    const std::vector<PrintCall>& PrintCalls() const { return m_printCalls; }

    struct FileDialogCall {
        HWND owner;
        std::string filter;  // NUL separators shown as '|'
        std::string initialDir;
        DWORD flags;
        bool hadDefaultExtension;
        bool hadInitialFile;
        std::string defaultExtension;
        std::string initialFile;
    };
    const std::vector<FileDialogCall>& OpenCalls() const { return m_openCalls; }
    const std::vector<FileDialogCall>& SaveCalls() const { return m_saveCalls; }

private:
    std::deque<std::string> m_files;
    std::deque<std::string> m_saveFiles;
    std::vector<FileDialogCall> m_openCalls;
    std::vector<FileDialogCall> m_saveCalls;
    struct QueuedPrinter {
        HDC dc;
        WORD from, to;
    };
    std::deque<QueuedPrinter> m_printers;
    std::vector<PrintCall> m_printCalls;
};

struct HelpCall {
    std::string file;
    UINT command;
    ULONG_PTR data;
};

class CRecordingHelp : public IHelpEngine {
public:
    BOOL ShowHelp(HWND owner, const char* helpFile, UINT command, ULONG_PTR data) override;
    const std::vector<HelpCall>& Calls() const { return m_calls; }

private:
    std::vector<HelpCall> m_calls;
};

struct ShellCall {
    HWND owner;
    std::string file;
    std::string parameters;  // empty for none
    bool hadParameters;
    bool hadDirectory;
    int show;
    std::string currentDirectory;  // at the time of the call
};

class CRecordingShell : public IShell {
public:
    HINSTANCE Open(HWND owner, const char* file, const char* parameters, const char* directory, int show) override;
    const std::vector<ShellCall>& Calls() const { return m_calls; }

private:
    std::vector<ShellCall> m_calls;
};
