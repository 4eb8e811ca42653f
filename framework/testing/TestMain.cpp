#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "framework/testing/Scripted.h"

// No test may leave a window waiting for a person: unless a test scripts the seams itself, every message box,
// common dialog, help call or shell start is answered here and counts as a failure.
namespace {
class CUnexpectedMessageBoxes : public IMessageBoxes {
public:
    int Show(HWND, const std::string& text, const std::string& caption, UINT) override {
        ADD_FAILURE() << "unexpected message box \"" << text << "\" titled \"" << caption << "\"";
        return IDCANCEL;
    }
};

class CUnexpectedCommonDialogs : public ICommonDialogs {
public:
    BOOL OpenFile(OPENFILENAMEA&) override {
        ADD_FAILURE() << "unexpected open-file dialog";
        return FALSE;
    }
    BOOL SaveFile(OPENFILENAMEA&) override {
        ADD_FAILURE() << "unexpected save-file dialog";
        return FALSE;
    }
    BOOL Print(PRINTDLGA&) override {
        ADD_FAILURE() << "unexpected print dialog";
        return FALSE;
    }
};

class CUnexpectedHelp : public IHelpEngine {
public:
    BOOL ShowHelp(HWND, const char* file, UINT, ULONG_PTR) override {
        ADD_FAILURE() << "unexpected help call for " << (file ? file : "");
        return FALSE;
    }
};

class CUnexpectedShell : public IShell {
public:
    HINSTANCE Open(HWND, const char* file, const char*, const char*, int) override {
        ADD_FAILURE() << "unexpected shell start of " << (file ? file : "");
        return nullptr;
    }
};
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CUnexpectedMessageBoxes boxes;
    CUnexpectedCommonDialogs dialogs;
    CUnexpectedHelp help;
    CUnexpectedShell shell;
    CScopedSeam<IMessageBoxes> s1(boxes);
    CScopedSeam<ICommonDialogs> s2(dialogs);
    CScopedSeam<IHelpEngine> s3(help);
    CScopedSeam<IShell> s4(shell);
    return RUN_ALL_TESTS();
}
