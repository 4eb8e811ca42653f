#pragma once
#include <string>
#include <vector>

#include "framework/CmdTarget.h"
#include "framework/DocumentHost.h"

class CView;

// A program's document: what its views show. The single-document programs have one, emptied and refilled as
// files are opened; the title is the file's name or "Untitled".
class CDocument : public CCmdTarget {
public:
    explicit CDocument(IDocumentHost& host) : m_host(host) {}
    ~CDocument() override = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    IDocumentHost& Host() const { return m_host; }

    const std::string& Title() const { return m_title; }
    void SetTitle(std::string title);
    const std::string& PathName() const { return m_pathName; }
    // Takes the path and its file name as the title; `addToRecent` puts it first in the recent-file list.
    void SetPathName(const std::string& path, bool addToRecent = true);

    virtual bool IsModified() const { return m_modified; }
    virtual void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    // The framework's steps: a new document is emptied and untitled; opening first empties the document.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual void DeleteContents() {}

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return m_views; }
    // Every view but `sender` redraws itself for the document's new state.
    void UpdateAllViews(CView* sender);

private:
    IDocumentHost& m_host;
    std::string m_title;
    std::string m_pathName;
    bool m_modified = false;
    std::vector<CView*> m_views;
};
