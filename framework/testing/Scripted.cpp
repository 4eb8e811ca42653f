#include "framework/testing/Scripted.h"

#include <cstring>

int CScriptedMessageBoxes::Show(HWND, const std::string& text, const std::string& caption, UINT type) {
    m_calls.push_back({text, caption, type});
    if (m_answers.empty())
        return IDOK;
    int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

namespace {
CScriptedCommonDialogs::FileDialogCall Record(const OPENFILENAMEA& ofn) {
    const bool hadInitialFile = ofn.lpstrFile && ofn.lpstrFile[0] != '\0';
    CScriptedCommonDialogs::FileDialogCall call{ofn.hwndOwner,
                                                {},
                                                ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "",
                                                ofn.Flags,
                                                ofn.lpstrDefExt != nullptr,
                                                hadInitialFile,
                                                ofn.lpstrDefExt ? ofn.lpstrDefExt : "",
                                                hadInitialFile ? ofn.lpstrFile : ""};
    for (const char* p = ofn.lpstrFilter; p && *p; p += strlen(p) + 1)
        call.filter.append(p).push_back('|');
    return call;
}

BOOL Confirm(std::deque<std::string>& files, OPENFILENAMEA& ofn) {
    if (files.empty())
        return FALSE;
    std::string path = files.front();
    files.pop_front();
    if (!ofn.lpstrFile || path.size() + 1 > ofn.nMaxFile)
        return FALSE;
    memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
    return TRUE;
}
}  // namespace

BOOL CScriptedCommonDialogs::OpenFile(OPENFILENAMEA& ofn) {
    m_openCalls.push_back(Record(ofn));
    return Confirm(m_files, ofn);
}

BOOL CScriptedCommonDialogs::SaveFile(OPENFILENAMEA& ofn) {
    m_saveCalls.push_back(Record(ofn));
    return Confirm(m_saveFiles, ofn);
}

BOOL CRecordingHelp::ShowHelp(HWND, const char* helpFile, UINT command, ULONG_PTR data) {
    m_calls.push_back({helpFile ? helpFile : "", command, data});
    return TRUE;
}

HINSTANCE CRecordingShell::Open(HWND owner, const char* file, const char* parameters, const char* directory, int show) {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    m_calls.push_back({owner, file ? file : "", parameters ? parameters : "", parameters != nullptr,
                       directory != nullptr, show, cwd});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

BOOL CScriptedCommonDialogs::Print(PRINTDLGA& pd) {
    m_printCalls.push_back({pd.Flags, pd.nMinPage, pd.nMaxPage});
    if (m_printers.empty())
        return FALSE;
    const QueuedPrinter printer = m_printers.front();
    m_printers.pop_front();
    pd.hDC = printer.dc;
    if (printer.from) {
        pd.Flags |= PD_PAGENUMS;
        pd.nFromPage = printer.from;
        pd.nToPage = printer.to;
    }
    return TRUE;
}
