#include "framework/Shell.h"

#include <shellapi.h>

namespace {
class CSystemShell : public IShell {
public:
    HINSTANCE Open(HWND owner, const char* file, const char* parameters, const char* directory, int show) override {
        return ShellExecuteA(owner, "open", file, parameters, directory, show);
    }
};
}  // namespace

IShell& IShell::Production() {
    static CSystemShell shell;
    return shell;
}
