#pragma once
#include "framework/CmdTarget.h"
#include "framework/Window.h"

class CDocument;

// A window showing a document. The frame routes commands to its active view first.
class CView : public CWnd, public CCmdTarget {
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_document; }
    void AttachDocument(CDocument* document);

    // The document changed as a whole (opened, emptied): the view lays itself out again and redraws.
    virtual void OnUpdate(CView* sender);

protected:
    CDocument* m_document = nullptr;
};
