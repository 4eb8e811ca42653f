#include "framework/View.h"

#include "framework/Document.h"

CView::~CView() {
    if (m_document)
        m_document->RemoveView(this);
}

void CView::AttachDocument(CDocument* document) {
    if (m_document)
        m_document->RemoveView(this);
    m_document = document;
    if (m_document)
        m_document->AddView(this);
}

void CView::OnUpdate(CView*) {
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}
