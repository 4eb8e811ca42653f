#pragma once
#include <windows.h>

#include <string>

// Every message box of every program goes through here.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    virtual int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
    static IMessageBoxes& Production();
};

// Shows a message box with the running application's name as its caption.
int AppMessageBox(HWND owner, const std::string& text, UINT type);
int AppMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);
