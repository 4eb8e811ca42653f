#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "common/ListCtrlEx.h"
#include "framework/Handles.h"

namespace {
constexpr int kListId = 1001;
constexpr int kSurfaceWidth = 420;  // the list is 400 wide
constexpr COLORREF kUntouched = RGB(1, 2, 3);

// Hands the list's WM_DRAWITEM back to the control as a dialog does, and notes the rows drawn whole.
class CHost : public CWnd {
public:
    bool Create() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &CWnd::StaticWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ListCtrlExTestHost";
        RegisterClassA(&wc);
        return CreateEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 300, nullptr, nullptr,
                        wc.hInstance) != nullptr;
    }
    std::set<UINT> redrawn;
    RECT clip{};

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_DRAWITEM)
            return Default(msg, wp, lp);
        const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (dis.itemAction == ODA_DRAWENTIRE) {
            redrawn.insert(dis.itemID);
            GetClipBox(dis.hDC, &clip);
        }
        CWnd* control = FromHandle(dis.hwndItem);
        return control ? control->OnDrawItemReflect(dis) : FALSE;
    }
};

// Off-screen 32-bit pixels in the list's font, filled with kUntouched.
class CSurface {
public:
    explicit CSurface(HFONT font) : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kSurfaceWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap.Reset(CreateDIBSection(m_dc.Get(), &bi, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        SelectObject(m_dc.Get(), m_bitmap.Get());
        SelectObject(m_dc.Get(), font);
        RECT all{0, 0, kSurfaceWidth, kHeight};
        CBrushHandle untouched(CreateSolidBrush(kUntouched));
        FillRect(m_dc.Get(), &all, untouched.Get());
    }
    HDC Dc() const { return m_dc.Get(); }
    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        auto* p = static_cast<const uint32_t*>(m_bits);
        return std::vector<uint32_t>(p, p + kSurfaceWidth * kHeight);
    }
    COLORREF At(int x, int y) const {
        const uint32_t p = Pixels()[size_t(y * kSurfaceWidth + x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    static constexpr int kHeight = 90;  // five rows
    void* m_bits = nullptr;
    CBitmapHandle m_bitmap;  // outlives the DC it is selected into
    CMemoryDc m_dc;
};

struct Shown {
    std::string text;
    UINT align = DT_LEFT;
};

// A 400-pixel report list with narrower columns (100, 80 right-aligned, 60), taken over after creation as a
// dialog takes over its template's list, so no WM_SIZE has reached the control.
class ListCtrlExTest : public testing::Test {
protected:
    void Open(DWORD style = 0) {
        ASSERT_TRUE(m_host.Create());
        m_list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOSORTHEADER | style, 0,
                                 0, 400, 200, m_host, HMENU(kListId), nullptr, nullptr);
        m_away = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 250, 99, 20, m_host, 0, 0, nullptr);
        ASSERT_TRUE(m_ctrl.SubclassWindow(m_list));
        ASSERT_TRUE(m_ctrl.SetFullRowSel(true));
        const int columns[][2] = {{LVCFMT_LEFT, 100}, {LVCFMT_RIGHT, 80}, {LVCFMT_LEFT, 60}};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNA column{LVCF_FMT | LVCF_WIDTH, columns[i][0], columns[i][1], nullptr, 0, 0, 0, 0, 0, 0, 0};
            SendMessageA(m_list, LVM_INSERTCOLUMNA, i, LPARAM(&column));
        }
        m_font = reinterpret_cast<HFONT>(SendMessageA(m_list, WM_GETFONT, 0, 0));
    }
    void TearDown() override { DestroyWindow(m_host); }

    void AddRow(const std::vector<std::string>& texts) {
        LVITEMA item{};
        item.iItem = RowCount();
        item.iItem = int(SendMessageA(m_list, LVM_INSERTITEMA, 0, LPARAM(&item)));
        for (item.iSubItem = 0; item.iSubItem < int(texts.size()); ++item.iSubItem) {
            item.pszText = const_cast<char*>(texts[size_t(item.iSubItem)].c_str());
            SendMessageA(m_list, LVM_SETITEMTEXTA, item.iItem, LPARAM(&item));
        }
    }
    int RowCount() const { return int(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)); }
    void SetState(int row, UINT state, UINT mask = LVIS_SELECTED | LVIS_FOCUSED) {
        LVITEMA item{};
        item.state = state;
        item.stateMask = mask;
        SendMessageA(m_list, LVM_SETITEMSTATE, row, LPARAM(&item));
    }
    void SetWidth(int column, int width) { SendMessageA(m_list, LVM_SETCOLUMNWIDTH, column, width); }
    RECT Rect(int row, int code) const {
        RECT r{code, 0, 0, 0};
        SendMessageA(m_list, LVM_GETITEMRECT, row, LPARAM(&r));
        return r;
    }
    int Width(const std::string& text) const {
        CSurface surface(m_font);
        SIZE size{};
        GetTextExtentPoint32A(surface.Dc(), text.data(), int(text.size()), &size);
        return size.cx;
    }
    // As the lists measure it: with its terminating zero.
    int EllipsisWidth() const { return Width(std::string("...", 4)); }

    std::vector<uint32_t> Draw(int row, CSurface* into = nullptr) {
        CSurface own(m_font);
        CSurface& surface = into ? *into : own;
        DRAWITEMSTRUCT dis{ODT_LISTVIEW,           kListId, UINT(row), ODA_DRAWENTIRE, 0, m_list, surface.Dc(),
                           Rect(row, LVIR_BOUNDS), 0};
        EXPECT_TRUE(m_ctrl.OnDrawItemReflect(dis));
        return surface.Pixels();
    }
    // The row as it should look: its background from the label to the client's right edge, each cell's text in
    // its column (the label 2 pixels in, the sub-items 6), centred vertically, nothing else.
    std::vector<uint32_t> Expected(int row,
                                   const std::vector<Shown>& cells,
                                   bool selected,
                                   bool focusRect = false,
                                   HIMAGELIST states = nullptr) const {
        CSurface surface(m_font);
        HDC dc = surface.Dc();
        const RECT bounds = Rect(row, LVIR_BOUNDS);
        RECT client;
        GetClientRect(m_list, &client);
        RECT cell = Rect(row, LVIR_LABEL);
        RECT highlight{cell.left, bounds.top, client.right, bounds.bottom};
        FillRect(dc, &highlight, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        if (selected) {
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        }
        if (states)
            ImageList_Draw(states, 0, dc, bounds.left, bounds.top, ILD_TRANSPARENT);
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                cell = {cell.right, bounds.top, cell.right + LONG(SendMessageA(m_list, LVM_GETCOLUMNWIDTH, i, 0)),
                        bounds.bottom};
            const int inset = i == 0 ? 2 : 6;
            RECT inner{cell.left + inset, cell.top, cell.right - inset, cell.bottom};
            DrawTextA(dc, cells[i].text.c_str(), -1, &inner,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | cells[i].align);
        }
        if (focusRect)
            DrawFocusRect(dc, &highlight);
        return surface.Pixels();
    }

    CHost m_host;
    ClistCtrlEX m_ctrl;
    HWND m_list = nullptr;
    HWND m_away = nullptr;
    HFONT m_font = nullptr;
};
}  // namespace

TEST_F(ListCtrlExTest, SelectedRowIsHighlightedToTheControlsRightEdge) {
    Open();
    AddRow({"Row one", "12", "ab"});
    AddRow({"Row two", "34", "cd"});
    SetState(1, LVIS_SELECTED);
    SetFocus(m_list);
    EXPECT_EQ(Draw(0), Expected(0, {{"Row one"}, {"12", DT_RIGHT}, {"ab"}}, false));
    EXPECT_EQ(Draw(1), Expected(1, {{"Row two"}, {"34", DT_RIGHT}, {"cd"}}, true));

    // Invalidating only the highlight right of the columns still has the row drawn, up to the edge.
    UpdateWindow(m_list);
    const RECT bounds = Rect(1, LVIR_BOUNDS);
    RECT strip{bounds.right + 50, bounds.top, bounds.right + 80, bounds.bottom};
    m_host.redrawn.clear();
    InvalidateRect(m_list, &strip, FALSE);
    UpdateWindow(m_list);
    EXPECT_EQ(m_host.redrawn, std::set<UINT>{1});
    EXPECT_LT(m_host.clip.left, bounds.right);
    EXPECT_EQ(m_host.clip.right, 400);

    SetWindowPos(m_list, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    CSurface narrower(m_font);
    Draw(1, &narrower);
    EXPECT_EQ(narrower.At(299, bounds.top + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(narrower.At(300, bounds.top + 1), kUntouched);
}

TEST_F(ListCtrlExTest, LosingFocusRemovesTheHighlightAtOnceAndRegainingRestoresIt) {
    Open();
    for (const char* name : {"a", "b", "c", "d"})
        AddRow({name});
    SetState(0, LVIS_SELECTED);
    SetState(1, LVIS_FOCUSED);
    SetState(2, LVIS_SELECTED);
    SetFocus(m_list);
    UpdateWindow(m_list);
    m_host.redrawn.clear();
    SetFocus(m_away);
    EXPECT_EQ(m_host.redrawn, (std::set<UINT>{0, 1, 2}));
    EXPECT_EQ(Draw(0), Expected(0, {{"a"}}, false));
    EXPECT_EQ(Draw(1), Expected(1, {{"b"}}, false));

    m_host.redrawn.clear();
    SetFocus(m_list);
    EXPECT_EQ(m_host.redrawn, (std::set<UINT>{0, 1, 2}));
    EXPECT_EQ(Draw(0), Expected(0, {{"a"}}, true));
    EXPECT_EQ(Draw(1), Expected(1, {{"b"}}, false, true));
    EXPECT_EQ(Draw(3), Expected(3, {{"d"}}, false));
}

TEST_F(ListCtrlExTest, ShowSelAlwaysAndTheLabelEditorKeepTheHighlight) {
    Open(LVS_SHOWSELALWAYS);
    AddRow({"a"});
    AddRow({"b"});
    SetState(0, LVIS_SELECTED);
    SetState(1, LVIS_FOCUSED);
    SetFocus(m_list);
    UpdateWindow(m_list);
    m_host.redrawn.clear();
    SetFocus(m_away);
    EXPECT_TRUE(m_host.redrawn.count(1)) << "the focus rectangle goes at once";
    EXPECT_EQ(Draw(0), Expected(0, {{"a"}}, true));

    SetFocus(m_list);
    UpdateWindow(m_list);
    HWND editor = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 15, m_list, 0, 0, nullptr);
    m_host.redrawn.clear();
    SetFocus(editor);
    SetFocus(m_list);
    EXPECT_TRUE(m_host.redrawn.empty());
}

TEST_F(ListCtrlExTest, CellTextsAreShortenedToTheirColumns) {
    Open();
    AddRow({"Name list entry", "12345", "Fax machine KDM"});
    AddRow({"W", "", "中文字体测试文本"});
    AddRow({"", "12345", ""});
    AddRow({"Name" + std::string(300, 'y'), "", "Fax" + std::string(300, 'x')});  // past the 260-byte buffers
    const int labelLeft = Rect(0, LVIR_LABEL).left;
    // Each column holds exactly what is kept, the ellipsis and the margin.
    SetWidth(0, labelLeft + Width("Name") + EllipsisWidth() + 4);
    SetWidth(1, Width("12345") + 12);
    SetWidth(2, Width("Fax") + EllipsisWidth() + 12);
    EXPECT_EQ(Draw(0), Expected(0, {{"Name..."}, {"12345", DT_RIGHT}, {"Fax..."}}, false));
    EXPECT_EQ(Draw(2), Expected(2, {{""}, {"12345", DT_RIGHT}, {""}}, false)) << "an exact fit is kept";
    EXPECT_EQ(Draw(3), Expected(3, {{"Name..."}, {""}, {"Fax..."}}, false));

    // Room for two and a half Chinese characters keeps two; a lone letter that does not fit stays.
    SetWidth(0, labelLeft + Width("W") + 3);
    SetWidth(2, Width("中文") + EllipsisWidth() + 12 + Width("字") / 2);
    EXPECT_EQ(Draw(1), Expected(1, {{"W..."}, {""}, {"中文..."}}, false));

    // A pixel short of the exact fit: shortened, and then drawn from the left.
    SetWidth(1, Width("12345") + 11);
    const std::vector<uint32_t> drawn = Draw(2);
    int matches = 0;
    for (size_t kept = 1; kept < 5; ++kept)
        matches += drawn == Expected(2, {{""}, {std::string("12345", kept) + "...", DT_LEFT}}, false);
    EXPECT_EQ(matches, 1);
}

TEST_F(ListCtrlExTest, FullRowSelectSwitchesOwnerDrawingAndSaysWhenTheStyleChanged) {
    Open();
    AddRow({"a", "b"});
    EXPECT_TRUE(m_ctrl.GetFullRowSel());
    EXPECT_FALSE(m_ctrl.SetFullRowSel(true));
    UpdateWindow(m_list);

    EXPECT_TRUE(m_ctrl.SetFullRowSel(false));
    EXPECT_FALSE(m_ctrl.GetFullRowSel());
    EXPECT_FALSE(GetWindowLongPtrA(m_list, GWL_STYLE) & LVS_OWNERDRAWFIXED);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(m_list, &update, FALSE));
    EXPECT_EQ(update.right, 400);
    m_host.redrawn.clear();
    UpdateWindow(m_list);
    EXPECT_TRUE(m_host.redrawn.empty()) << "the standard control draws";
    EXPECT_FALSE(m_ctrl.SetFullRowSel(false));

    EXPECT_TRUE(m_ctrl.SetFullRowSel(true));
    EXPECT_TRUE(GetWindowLongPtrA(m_list, GWL_STYLE) & LVS_OWNERDRAWFIXED);
    UpdateWindow(m_list);
    EXPECT_EQ(m_host.redrawn, std::set<UINT>{0});
}

TEST_F(ListCtrlExTest, StateImageListNarrowsTheLabelOnly) {
    Open();
    AddRow({"Label text here", "x"});
    const std::vector<uint32_t> red(16 * 16, 0xFF0000);
    CBitmapHandle image(CreateBitmap(16, 16, 1, 32, red.data()));
    HIMAGELIST states = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    ImageList_Add(states, image.Get(), nullptr);
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_STATE, LPARAM(states));
    SetState(0, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    // The label gives up the image's width once more; the sub-items stay under their headers.
    SetWidth(0, Rect(0, LVIR_LABEL).left + 16 + Width("Label") + EllipsisWidth() + 4);
    CSurface drawn(m_font);
    EXPECT_EQ(Draw(0, &drawn), Expected(0, {{"Label..."}, {"x", DT_RIGHT}}, false, false, states));
    EXPECT_EQ(drawn.At(Rect(0, LVIR_BOUNDS).left + 8, Rect(0, LVIR_BOUNDS).top + 8), RGB(255, 0, 0));

    // Small icons take room from the label as the list reports it, nothing more.
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_STATE, 0);
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(ImageList_Create(16, 16, ILC_COLOR32, 0, 1)));
    SetWidth(0, Rect(0, LVIR_LABEL).left + Width("Label text here") + 4);
    EXPECT_EQ(Draw(0), Expected(0, {{"Label text here"}, {"x", DT_RIGHT}}, false));
    ImageList_Destroy(states);
}
