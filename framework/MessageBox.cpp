#include "framework/MessageBox.h"

#include "framework/App.h"
#include "framework/HeldRequests.h"
#include "framework/Seam.h"

namespace {
class CSystemMessageBoxes : public IMessageBoxes {
public:
    int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
        return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
    }
};
}  // namespace

IMessageBoxes& IMessageBoxes::Production() {
    static CSystemMessageBoxes boxes;
    return boxes;
}

int AppMessageBox(HWND owner, const std::string& text, UINT type) {
    CWinApp* app = TheApp();
    return AppMessageBox(owner, text, app ? app->AppName() : std::string(), type);
}

int AppMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    // The work that asks waits for the answer; nothing else may start meanwhile.
    CWorkScope waitingForAnswer;
    return Seam<IMessageBoxes>().Show(owner, text, caption, type);
}
