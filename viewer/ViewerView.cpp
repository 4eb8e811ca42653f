#include "viewer/ViewerView.h"

#include <algorithm>

#include "framework/App.h"
#include "framework/BusyState.h"
#include "framework/Printing.h"
#include "framework/Resources.h"
#include "viewer/MainFrame.h"
#include "viewer/ViewerDoc.h"
#include "viewer/core/Zoom.h"
#include "viewer/dib/BitmapToDib.h"
#include "viewer/dib/CopyDib.h"
#include "viewer/dib/DibPaint.h"
#include "viewer/dib/DibPalette.h"
#include "viewer/resource.h"

namespace {
bool IsEmpty(const RECT& r) {
    return r.left == r.right || r.top == r.bottom;
}
}  // namespace

bool CViewerView::Create(HWND parent, UINT id) {
    if (!CZoomBase::Create(parent, id))
        return false;
    LoadCursors();
    m_selectCursor = static_cast<HCURSOR>(
        LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(IDC_SELECT_CURSOR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    return true;
}

CViewerDoc& CViewerView::Doc() const {
    return *static_cast<CViewerDoc*>(GetDocument());
}

void CViewerView::OnInitialUpdate() {
    OnUpdate(nullptr);
    SetZoomSizes(Doc().ImageWidth(), Doc().ImageHeight(), 1.0f);
}

void CViewerView::OnUpdate(CView*) {
    // Every newly opened document starts at 100%.
    m_selection = {};
    m_selectAll = false;
    SetZoomSizes(Doc().ImageWidth(), Doc().ImageHeight(), 1.0f);
    Normal();
}

void CViewerView::AddScannedPage(CGlobalBlock image) {
    CBusyState busy(GetAncestor(m_hWnd, GA_ROOT));
    const bool first = Doc().PageCount() == 0;
    Doc().AppendPage(std::move(image));
    SetZoomSizes(Doc().ImageWidth(), Doc().ImageHeight(), GetZoom());
    if (first) {
        ReLayOut();
        UpdateWindow(m_hWnd);
    }
}

void CViewerView::Normal() {
    SetZoom(std::nullopt, 1.0f);
    ShowZoomText("100%");
}

void CViewerView::ShowZoomText(const std::string& text) {
    if (auto* frame = static_cast<CMainFrame*>(CWnd::FromHandle(MainWindow())))
        frame->ZoomBox().SetText(text);
}

void CViewerView::OnZoomedByMouse() {
    ShowZoomText(ZoomBoxText(GetZoom()));
}

void CViewerView::ReLayOut() {
    SetZoomSizes(Doc().ImageWidth(), Doc().ImageHeight(), GetZoom());
    InvalidateRect(m_hWnd, nullptr, TRUE);
    RealisePalette(false);
}

void CViewerView::RealisePalette(bool background) {
    HPALETTE palette = Doc().Palette();
    if (!palette)
        return;
    HWND main = MainWindow();
    HDC dc = GetDC(main);
    HPALETTE old = SelectPalette(dc, palette, background ? TRUE : FALSE);
    const UINT changed = RealizePalette(dc);
    SelectPalette(dc, old, TRUE);
    ReleaseDC(main, dc);
    if (changed > 2)
        Doc().UpdateAllViews(nullptr);
}

void CViewerView::OnDraw(HDC dc) {
    HGLOBAL image = Doc().CurrentImage();
    if (!image)
        return;
    const LONG width = Doc().ImageWidth();
    const LONG height = Doc().ImageHeight();
    // Only the part being painted is stretched: a whole fine page costs more than a frame's time. Its edges are
    // on multiples of 100 pixels (or the page's own), which every whole-percent zoom maps to whole device
    // pixels, so a strip drops or doubles the same rows as the full page would and no seam shows where it joins.
    RECT clip{};
    GetClipBox(dc, &clip);
    constexpr LONG kGrid = 100;
    const auto down = [](LONG v) { return v <= 0 ? 0 : v / kGrid * kGrid; };
    const auto up = [](LONG v, LONG limit) { return std::min<LONG>(limit, (v + kGrid - 1) / kGrid * kGrid); };
    const RECT part{down(clip.left - 1), down(clip.top - 1), up(clip.right + 1, width), up(clip.bottom + 1, height)};
    if (part.left < part.right && part.top < part.bottom) {
        // The rows of a bottom-up bitmap count from its foot.
        const RECT source{part.left, height - part.bottom, part.right, height - part.top};
        PaintDib(dc, part, image, source, Doc().Palette(), SRCCOPY);
    }
    if (SelectionMode() && !m_selecting && !IsEmpty(m_selection))
        PaintOutline(dc, m_selection);
}

HCURSOR CViewerView::ModeCursor() const {
    if (SelectionMode() && m_selectCursor)
        return m_selectCursor;
    return CZoomView::ModeCursor();
}

bool CViewerView::OnCommand(UINT id) {
    CViewerDoc& doc = Doc();
    switch (id) {
    case ID_VIEW_ZOOM_IN:
        SetToolMode(ToolMode() == Tool::kZoomIn ? Tool::kNone : Tool::kZoomIn);
        return true;
    case ID_VIEW_ZOOM_OUT:
        if (ToolMode() == Tool::kZoomOut) {
            SetToolMode(Tool::kNone);
        } else {
            const bool wasSelecting = SelectionMode();
            m_selectionOff = true;
            SetToolMode(Tool::kZoomOut);
            // Leaving selection mode shows the arrow; the tool's own cursor comes with the next move.
            if (wasSelecting)
                SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        }
        return true;
    case ID_VIEW_NORMAL:
        Normal();
        return true;
    case ID_SELECTION_START:
        ToggleSelectionMode();
        return true;
    case ID_SELECT_ALL:
        SelectAll();
        return true;
    case ID_SELECT_NONE:
        SelectNone();
        return true;
    case ID_EDIT_COPY:
        Copy();
        return true;
    case ID_EDIT_UNDO:
        doc.Undo();
        ReLayOut();
        return true;
    case ID_PAGE_PREVIOUS:
    case ID_PAGE_NEXT:
        if (id == ID_PAGE_NEXT ? doc.NextPage() : doc.PreviousPage())
            ReLayOut();
        return true;
    case ID_IMAGE_ROTATE_RIGHT:
    case ID_IMAGE_ROTATE_LEFT:
    case ID_IMAGE_ROTATE_180: {
        const PageRotation turn = id == ID_IMAGE_ROTATE_RIGHT  ? PageRotation::kRight90
                                  : id == ID_IMAGE_ROTATE_LEFT ? PageRotation::kLeft90
                                                               : PageRotation::kHalfTurn;
        if (doc.Rotate(turn))
            ReLayOut();
        return true;
    }
    case ID_IMAGE_SMOOTH:
        if (doc.Smooth())
            ReLayOut();
        return true;
    case ID_FILE_PRINT:
        Print();
        return true;
    case ID_FILE_PRINT_SETUP:
        PrintSetup(MainWindow());
        return true;
    case ID_HELP_INDEX:
        if (CWinApp* app = TheApp())
            app->ShowHelp(IDH_VIEWER, HELP_CONTEXT);
        return true;
    }
    return false;
}

bool CViewerView::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.Id()) {
    case ID_VIEW_ZOOM_IN:
        ui.SetCheck(ToolMode() == Tool::kZoomIn);
        return true;
    case ID_VIEW_ZOOM_OUT:
        ui.SetCheck(ToolMode() == Tool::kZoomOut);
        return true;
    case ID_SELECTION_START:
        ui.SetCheck(SelectionMode());
        return true;
    case ID_SELECT_NONE:
        ui.Enable(SelectionMode() && !IsEmpty(m_selection));
        return true;
    case ID_EDIT_COPY:
        ui.Enable(!IsEmpty(m_selection));
        return true;
    case ID_FILE_PRINT:
        ui.Enable(Doc().PageCount() > 0);
        return true;
    case ID_VIEW_NORMAL:
    case ID_SELECT_ALL:
    case ID_HELP_INDEX:
    case ID_FILE_PRINT_SETUP:
        return true;
    }
    return false;
}

void CViewerView::GoToPage(uint32_t number) {
    CViewerDoc& doc = Doc();
    while (doc.CurrentPageNumber() < number && doc.NextPage())
        ReLayOut();
    while (doc.CurrentPageNumber() > number && doc.PreviousPage())
        ReLayOut();
}

void CViewerView::DrawForPrinter(HDC dc, const RECT& printable) const {
    HGLOBAL image = Doc().CurrentImage();
    const LONG width = Doc().ImageWidth();
    const LONG height = Doc().ImageHeight();
    if (!image || width <= 0 || height <= 0)
        return;  // a page that did not decode leaves its sheet blank
    // As large as the sheet allows, proportions kept, from the printable area's top-left corner.
    const float scale = std::min(static_cast<float>(printable.right - printable.left) / static_cast<float>(width),
                                 static_cast<float>(printable.bottom - printable.top) / static_cast<float>(height));
    const RECT target{printable.left, printable.top, printable.left + static_cast<LONG>(width * scale),
                      printable.top + static_cast<LONG>(height * scale)};
    CPaletteHandle palette;
    CreateDibPalette(image, palette);
    PaintDib(dc, target, image, {0, 0, width, height}, palette.Get(), SRCCOPY);
}

void CViewerView::Print() {
    const uint32_t current = Doc().CurrentPageNumber();
    PrintPages(MainWindow(), Doc().Title(), 1, static_cast<int>(Doc().PageCount()),
               [this](HDC dc, int page, const RECT& printable) {
                   GoToPage(static_cast<uint32_t>(page));
                   DrawForPrinter(dc, printable);
               });
    GoToPage(current);
}

void CViewerView::ToggleSelectionMode() {
    if (!SelectionMode()) {
        SetToolMode(Tool::kNone);
        m_selectionOff = false;
        SetCursor(m_selectCursor);
        return;
    }
    m_selectionOff = true;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (!IsEmpty(m_selection))
        DrawOutline(m_selection);
    m_selection = {};
    m_selecting = false;
    m_selectAll = false;
}

void CViewerView::SelectAll() {
    if (SelectionMode() && !IsEmpty(m_selection))
        DrawOutline(m_selection);
    m_selection = {0, 0, Doc().ImageWidth(), Doc().ImageHeight()};
    DrawOutline(m_selection);
    m_selectionOff = false;
    m_selectAll = true;
}

void CViewerView::SelectNone() {
    if (!IsEmpty(m_selection))
        DrawOutline(m_selection);
    m_selection = {};
    m_selectionOff = true;
    m_selectAll = false;
    m_selecting = false;
}

RECT CViewerView::NormalisedSelection() const {
    RECT r = m_selection;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    // Only pixels of the page can be copied.
    r.left = std::clamp<LONG>(r.left, 0, Doc().ImageWidth());
    r.right = std::clamp<LONG>(r.right, 0, Doc().ImageWidth());
    r.top = std::clamp<LONG>(r.top, 0, Doc().ImageHeight());
    r.bottom = std::clamp<LONG>(r.bottom, 0, Doc().ImageHeight());
    return r;
}

HGLOBAL CViewerView::SelectedPixels() const {
    HGLOBAL image = Doc().CurrentImage();
    if (!image)
        return nullptr;
    if (m_selectAll)
        return CopyDib(image);
    const RECT r = NormalisedSelection();
    const int cx = r.right - r.left;
    const int cy = r.bottom - r.top;
    if (cx <= 0 || cy <= 0)
        return nullptr;
    HDC window = GetDC(m_hWnd);
    CMemoryDc memory(CreateCompatibleDC(window));
    CBitmapHandle bitmap(CreateCompatibleBitmap(window, cx, cy));
    ReleaseDC(m_hWnd, window);
    if (!memory || !bitmap)
        return nullptr;
    {
        CSelectObject select(memory.Get(), bitmap.Get());
        // The rows of a bottom-up bitmap count from its foot.
        PaintDibPlain(memory.Get(), 0, 0, cx, cy, image, r.left, Doc().ImageHeight() - r.bottom, cx, cy, SRCCOPY);
    }
    return BitmapToDib(bitmap.Get(), BI_RGB, 0, Doc().Palette());
}

void CViewerView::Copy() {
    CBusyState busy(MainWindow());
    if (!IsEmpty(m_selection))
        DrawOutline(m_selection);
    CGlobalBlock pixels(SelectedPixels());
    m_selectionOff = true;
    m_selectAll = false;
    m_selection = {};
    if (!pixels || !OpenClipboard(m_hWnd))
        return;
    EmptyClipboard();
    // The clipboard owns the block once it took it.
    if (SetClipboardData(CF_DIB, pixels.Get()))
        pixels.Release();
    CloseClipboard();
}

void CViewerView::OnLeftDown(POINT client) {
    if (SelectionMode()) {
        m_selecting = true;
        InvalidateRect(m_hWnd, nullptr, Doc().PageCount() == 0);
        UpdateWindow(m_hWnd);
        m_selection = {};
        m_selectAll = false;
        SetCapture(m_hWnd);
        const POINT p = ClientToLogical(client);
        m_selection = {p.x, p.y, p.x, p.y};
    }
    ToolButtonDown(client);
}

void CViewerView::OnMouseMove(POINT client) {
    if (SelectionMode() && m_selecting) {
        DrawOutline(m_selection);
        const POINT p = ClientToLogical(client);
        m_selection.right = p.x;
        m_selection.bottom = p.y;
        DrawOutline(m_selection);
    }
    ToolMouseMove(client);
}

void CViewerView::OnLeftUp(POINT client) {
    if (m_selecting) {
        m_selecting = false;
        ReleaseCapture();
        m_selection = NormalisedSelection();
    }
    ToolButtonUp(client);
}

LRESULT CViewerView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
    case WM_LBUTTONDOWN:
        // A click on the page takes the keyboard back from the zoom box, for the page and zoom keys.
        SetFocus(m_hWnd);
        OnLeftDown(at);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(at);
        return 0;
    case WM_LBUTTONUP:
        OnLeftUp(at);
        return 0;
    case WM_RBUTTONDOWN:
        SetFocus(m_hWnd);
        ToolRightButton();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            SetCursor(ModeCursor());
            return TRUE;
        }
        break;
    case WM_USER:
        RealisePalette(reinterpret_cast<HWND>(wp) != m_hWnd);
        return 0;
    case WM_SETFOCUS:
        // The active view's palette is the foreground one.
        RealisePalette(false);
        break;
    }
    return CZoomBase::WindowProc(msg, wp, lp);
}
