#pragma once
#include <windows.h>

#include <cstdint>
#include <list>
#include <string>

#include "framework/Document.h"
#include "framework/Handles.h"
#include "viewer/FaxPage.h"

// The image library's turns, clockwise in degrees.
enum class PageRotation : DWORD { kRight90 = 90, kHalfTurn = 180, kLeft90 = 270 };

// The Viewer's document: one SMH file, or scanned pages, shown one page at a time. Pages are decoded when first
// shown and kept; the current page's image can be rotated or smoothed, with one level of undo. The current image
// is always the current page's own block, so it has exactly one owner.
class CViewerDoc : public CDocument {
public:
    // `recvFolder` is the received-fax folder setting, where the file dialogs start.
    CViewerDoc(IDocumentHost& host, std::string recvFolder);
    CViewerDoc(const CViewerDoc&) = delete;
    CViewerDoc& operator=(const CViewerDoc&) = delete;

    // The open SMH file; empty for an empty or scanned document. Save As and sending copy it.
    const std::string& FilePath() const { return m_filePath; }

    uint32_t PageCount() const { return static_cast<uint32_t>(m_pages.size()); }
    uint32_t CurrentPageNumber() const { return m_pageNumber; }  // 1-based; 0 when there is no page
    // Page n (1-based), or null.
    const FaxPage* PageAt(uint32_t n) const;
    // Page n's image as it is now, never decoding it.
    HGLOBAL PageImage(uint32_t n) const;
    // Adds a page at the end, loaded when it has an image. The first page becomes current.
    void AppendPage(CGlobalBlock image);
    void FreeAllPages();
    // Move to the neighbouring page, decoding it on its first visit. False when there is none.
    bool NextPage();
    bool PreviousPage();

    // The current page's image, read when it became current.
    HGLOBAL CurrentImage() const;
    HPALETTE Palette() const { return m_palette.Get(); }
    LONG ImageWidth() const { return m_width; }       // 1 without an image
    LONG ImageHeight() const { return m_height; }     // 1 without an image
    WORD ColorCount() const { return m_colorCount; }  // 2 for a fax page; 0 without an image
    bool CurrentSmoothed() const;
    void SetCurrentSmoothed(bool smoothed);

    // Puts `image` on the current page, keeping a copy of the old one for Undo. False without a current page.
    bool ReplaceCurrentImage(CGlobalBlock image);
    // Puts the saved copy back; there is one level only. False when there is none.
    bool Undo();
    void FreeUndo();

    // The page operations; each is true when the current image changed, so that the view lays itself out again.
    bool Rotate(PageRotation rotation);
    bool Smooth();

    // Asks for a target and copies the open file to it byte for byte; the document keeps its own path.
    bool SaveAs();
    // Asks for a target and writes the current page, as it is held now, as a BMP file.
    bool ExportBitmap();
    // Scanned pages get their file: the scanner's scan file is copied to "scanfile.smh" in the received-fax
    // folder, which becomes the document's file. Nothing for a document that has a file; false (reported) when
    // the copy failed, and the pages then stay without a file.
    bool AdoptScanFile();

    // The enabling rules of the document's commands.
    bool CanGoToNextPage() const;
    bool CanGoToPreviousPage() const;
    bool CanUndo() const;
    bool CanSaveOrSend() const;  // Save As, Send fax, Send print: an unchanged fax page of a file
    bool CanRotate() const;
    bool CanSmooth() const;

    bool OnOpenDocument(const std::string& path) override;
    void DeleteContents() override;
    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    bool ChangePage(std::list<FaxPage>::iterator page, uint32_t number);
    // Reads size, colours and palette of the current image; refuses an image whose size is negative.
    void AnalyseCurrentImage();

    std::string m_recvFolder;
    std::string m_filePath;
    std::list<FaxPage> m_pages;
    std::list<FaxPage>::iterator m_current = m_pages.end();
    uint32_t m_pageNumber = 0;
    CPaletteHandle m_palette;
    LONG m_width = 1;
    LONG m_height = 1;
    WORD m_colorCount = 0;
    CGlobalBlock m_undo;  // a copy of the current page's image before its last change
    bool m_undoSmoothed = false;
};
