#include "launcher/tests/LauncherTestSupport.h"

#include <vector>

#include "framework/Handles.h"
#include "framework/Resources.h"

namespace {
// A 32-bit off-screen surface whose pixels can be compared.
class CSurface {
public:
    CSurface(int cx, int cy) : m_cx(cx), m_cy(cy), m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap.Reset(CreateDIBSection(m_dc.Get(), &bi, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        m_old = SelectObject(m_dc.Get(), m_bitmap.Get());
    }
    ~CSurface() { SelectObject(m_dc.Get(), m_old); }
    HDC Dc() const { return m_dc.Get(); }
    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        auto* p = static_cast<const uint32_t*>(m_bits);
        return std::vector<uint32_t>(p, p + m_cx * m_cy);
    }

private:
    int m_cx, m_cy;
    CMemoryDc m_dc;
    CBitmapHandle m_bitmap;
    void* m_bits = nullptr;
    HGDIOBJ m_old = nullptr;
};

std::vector<uint32_t> Drawn(HWND menu, HWND button, UINT state) {
    RECT r;
    GetClientRect(button, &r);
    CSurface surface(r.right, r.bottom);
    DRAWITEMSTRUCT dis{ODT_BUTTON, UINT(GetDlgCtrlID(button)), 0, ODA_DRAWENTIRE, state, button, surface.Dc(), r, 0};
    // A dialog's answer to WM_DRAWITEM is not the SendMessage result, so only the pixels tell.
    SendMessageA(menu, WM_DRAWITEM, dis.CtlID, LPARAM(&dis));
    return surface.Pixels();
}

// The resource bitmap as the button should show it: centred on the button face.
std::vector<uint32_t> Expected(const std::string& name, int cx, int cy) {
    CSurface surface(cx, cy);
    RECT r{0, 0, cx, cy};
    FillRect(surface.Dc(), &r, GetSysColorBrush(COLOR_BTNFACE));
    // The classic greys of the faces become the system's 3-D colours.
    CBitmapHandle bitmap(
        static_cast<HBITMAP>(LoadImageA(ResourceInstance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    EXPECT_TRUE(bitmap) << name;
    BITMAP bm{};
    GetObjectA(bitmap.Get(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 36) << name;
    EXPECT_EQ(bm.bmHeight, 36) << name;
    // LoadBitmap converts to the display's depth; the section keeps the resource's own.
    CBitmapHandle section(
        static_cast<HBITMAP>(LoadImageA(ResourceInstance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP stored{};
    GetObjectA(section.Get(), sizeof stored, &stored);
    EXPECT_EQ(stored.bmBitsPixel, 4) << name << " must be a 16-colour bitmap";
    CMemoryDc source(CreateCompatibleDC(nullptr));
    CSelectObject select(source.Get(), bitmap.Get());
    BitBlt(surface.Dc(), (cx - bm.bmWidth) / 2, (cy - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, source.Get(), 0, 0,
           SRCCOPY);
    return surface.Pixels();
}
}  // namespace

TEST_F(MenuFixture, EachButtonShowsTheBitmapOfItsState) {
    const std::pair<int, const char*> buttons[] = {{IDC_FAXPRINT, "FAXPRINT"}, {IDC_LOGBOOK, "LOGBOOK"},
                                                   {IDC_AUTORECV, "AUTORECV"}, {IDC_SCANER, "SCANER"},
                                                   {IDC_VIEWFAX, "VIEWFAX"},   {IDC_PHONEBOOK, "PHONEBOOK"}};
    for (auto [id, name] : buttons) {
        RECT r;
        GetClientRect(Button(id), &r);
        auto up = Drawn(Menu(), Button(id), 0);
        auto down = Drawn(Menu(), Button(id), ODS_SELECTED | ODS_FOCUS);
        auto focus = Drawn(Menu(), Button(id), ODS_FOCUS);
        EXPECT_EQ(up, Expected(std::string(name) + "U", r.right, r.bottom)) << name;
        EXPECT_EQ(down, Expected(std::string(name) + "D", r.right, r.bottom)) << name;
        EXPECT_EQ(focus, Expected(std::string(name) + "F", r.right, r.bottom)) << name;
        EXPECT_NE(up, down) << name << ": pressed must look different";
        EXPECT_NE(up, focus) << name << ": focused must look different";
        EXPECT_NE(down, focus) << name;
    }
}
