#include "framework/CommonDialogs.h"

#include "framework/HeldRequests.h"

namespace {
class CSystemCommonDialogs : public ICommonDialogs {
public:
    // Each is a step of the command that asked; requests from outside wait until that command is done.
    BOOL OpenFile(OPENFILENAMEA& ofn) override {
        CWorkScope step;
        return GetOpenFileNameA(&ofn);
    }
    BOOL SaveFile(OPENFILENAMEA& ofn) override {
        CWorkScope step;
        return GetSaveFileNameA(&ofn);
    }
    BOOL Print(PRINTDLGA& pd) override {
        CWorkScope step;
        return PrintDlgA(&pd);
    }
};
}  // namespace

ICommonDialogs& ICommonDialogs::Production() {
    static CSystemCommonDialogs dialogs;
    return dialogs;
}
