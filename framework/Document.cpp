#include "framework/Document.h"

#include <algorithm>

#include "framework/View.h"

void CDocument::SetTitle(std::string title) {
    m_title = std::move(title);
    m_host.OnDocumentTitleChanged(*this);
}

void CDocument::SetPathName(const std::string& path, bool addToRecent) {
    m_pathName = path;
    const size_t slash = path.find_last_of("\\/:");
    SetTitle(slash == std::string::npos ? path : path.substr(slash + 1));
    if (addToRecent)
        m_host.AddToRecentFileList(path);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_pathName.clear();
    SetTitle("Untitled");
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string&) {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

void CDocument::AddView(CView* view) {
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocument::UpdateAllViews(CView* sender) {
    for (CView* view : m_views)
        if (view != sender)
            view->OnUpdate(sender);
}
