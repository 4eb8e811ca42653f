#pragma once
#include <windows.h>

#include <string>

class CDocument;

// What a document needs of the program around it, handed to it when it is made: the window that owns its
// messages and dialogs and receives its progress, and where its path and title are shown.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    // May be null (no window yet): messages then have no owner and progress goes nowhere.
    virtual HWND OwnerWindow() const = 0;
    // A file was opened: it goes first in the recent-file list.
    virtual void AddToRecentFileList(const std::string& path) = 0;
    virtual void OnDocumentTitleChanged(const CDocument& document) = 0;
};
