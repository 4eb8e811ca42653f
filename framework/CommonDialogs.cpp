#include "framework/CommonDialogs.h"

namespace {
class CSystemCommonDialogs : public ICommonDialogs {
public:
    BOOL OpenFile(OPENFILENAMEA& ofn) override { return GetOpenFileNameA(&ofn); }
    BOOL SaveFile(OPENFILENAMEA& ofn) override { return GetSaveFileNameA(&ofn); }
    BOOL Print(PRINTDLGA& pd) override { return PrintDlgA(&pd); }
};
}  // namespace

ICommonDialogs& ICommonDialogs::Production() {
    static CSystemCommonDialogs dialogs;
    return dialogs;
}
