#include "tools/process/SetupDriver.h"

#include "tools/process/RemoteControl.h"

namespace {

constexpr int kSourceEdit = 204;
constexpr int kInstallEdit = 205;
constexpr int kGroupEdit = 206;
constexpr int kFirstPort = 211;
constexpr int kCopySource = 303;
constexpr int kMessageText = 0xFFFF;  // the static text of a message box

struct DialogSearch {
    DWORD pid;
    int control;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<DialogSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->pid && IsWindowVisible(window) && std::string(className) == "#32770" &&
        GetDlgItem(window, search->control)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND DialogWith(DWORD pid, int control) {
    DialogSearch search{pid, control, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Press(HWND dialog, int button) {
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

// The box goes before the next one can come.
void Dismissed(HWND box) {
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
}

void FillMainDialog(HWND dialog, const SetupAnswers& answers) {
    if (!answers.source.empty())
        SetDlgItemTextA(dialog, kSourceEdit, answers.source.c_str());
    if (!answers.install.empty())
        SetDlgItemTextA(dialog, kInstallEdit, answers.install.c_str());
    if (!answers.group.empty())
        SetDlgItemTextA(dialog, kGroupEdit, answers.group.c_str());
    if (answers.port >= 1 && answers.port <= 3)
        SendMessageA(GetDlgItem(dialog, kFirstPort + answers.port - 1), BM_CLICK, 0, 0);
}

// Answers one message box; returns false while none is showing.
bool AnswerMessage(DWORD pid, const SetupAnswers& answers, ULONGLONG confirmed, SetupOutcome& outcome) {
    HWND box = FindMessageBox(pid);
    if (!box)
        return false;
    outcome.messageMs.push_back(GetTickCount64() - confirmed);
    outcome.messages.push_back(MessageBoxText(box));
    if (GetDlgItem(box, IDYES))
        Press(box, answers.overwrite ? IDYES : IDNO);
    else if (GetDlgItem(box, IDCANCEL) && answers.cancelDiskPrompts)
        Press(box, IDCANCEL);
    else
        Press(box, IDOK);
    Dismissed(box);
    return true;
}

}  // namespace

HWND FindMessageBox(DWORD pid) {
    return DialogWith(pid, kMessageText);
}

std::string MessageBoxText(HWND box) {
    char text[1024] = {};
    GetDlgItemTextA(box, kMessageText, text, sizeof text);
    return text;
}

std::string AnswerMessageBox(DWORD pid, int button, DWORD timeoutMs) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindMessageBox(pid)) != nullptr; }, timeoutMs))
        return {};
    std::string text = MessageBoxText(box);
    Press(box, button);
    Dismissed(box);
    return text;
}

HWND FindSetupDialog(DWORD pid) {
    return DialogWith(pid, kInstallEdit);
}

SetupOutcome DriveSetup(const std::string& setupExe, const SetupAnswers& answers, DWORD timeoutMs) {
    SetupOutcome outcome;
    CRunningProgram setup = CRunningProgram::Start("\"" + setupExe + "\"");
    if (!setup.Id())
        return outcome;
    outcome.started = true;
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindSetupDialog(setup.Id())) != nullptr || setup.Ended(0); }, timeoutMs))
        return outcome;
    if (dialog) {
        outcome.sawMainDialog = true;
        FillMainDialog(dialog, answers);
        Press(dialog, answers.cancel ? IDCANCEL : IDOK);
    }
    const ULONGLONG confirmed = GetTickCount64();
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!setup.Ended(20) && GetTickCount64() < end) {
        const bool copying = DialogWith(setup.Id(), kCopySource) != nullptr;
        if (copying && !outcome.copyShownMs)
            outcome.copyShownMs = GetTickCount64() - confirmed;
        if (!copying && outcome.copyShownMs && !outcome.copyClosedMs)
            outcome.copyClosedMs = GetTickCount64() - confirmed;
        AnswerMessage(setup.Id(), answers, confirmed, outcome);
    }
    outcome.ended = setup.Ended(0);
    outcome.exitCode = setup.ExitCode();
    return outcome;
}
