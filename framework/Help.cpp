#include "framework/Help.h"

namespace {
class CWinHelpEngine : public IHelpEngine {
public:
    BOOL ShowHelp(HWND owner, const char* helpFile, UINT command, ULONG_PTR data) override {
        return WinHelpA(owner, helpFile, command, data);
    }
};
}  // namespace

IHelpEngine& IHelpEngine::Production() {
    static CWinHelpEngine engine;
    return engine;
}
