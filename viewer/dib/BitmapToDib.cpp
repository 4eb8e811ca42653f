#include "viewer/dib/BitmapToDib.h"

#include "framework/Handles.h"
#include "viewer/dib/core/PackedDibLayout.h"

namespace {
// The screen's DC with a palette realised in the foreground, both given back at the end of the scope.
class CScreenDcWithPalette {
public:
    explicit CScreenDcWithPalette(HPALETTE palette) : m_dc(GetDC(nullptr)) {
        if (m_dc) {
            m_previous = SelectPalette(m_dc, palette, FALSE);
            RealizePalette(m_dc);
        }
    }
    ~CScreenDcWithPalette() {
        if (!m_dc)
            return;
        if (m_previous) {
            SelectPalette(m_dc, m_previous, FALSE);
            RealizePalette(m_dc);
        }
        ReleaseDC(nullptr, m_dc);
    }
    CScreenDcWithPalette(const CScreenDcWithPalette&) = delete;
    CScreenDcWithPalette& operator=(const CScreenDcWithPalette&) = delete;

    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HPALETTE m_previous = nullptr;
};

uint64_t RowsOffset(const BITMAPINFOHEADER& header) {
    const DibBytes bytes(reinterpret_cast<const uint8_t*>(&header), sizeof header);
    return uint64_t{header.biSize} + DibPaletteSizeMasks(bytes);
}

// Lets GDI fill in the header and colour table at the start of `block`, and the rows too when `withRows`.
bool ReadBits(HDC dc, HBITMAP bitmap, HGLOBAL block, bool withRows, BITMAPINFOHEADER& header) {
    CGlobalLock lock(block);
    auto* info = static_cast<BITMAPINFO*>(lock.Data());
    if (!info)
        return false;
    info->bmiHeader = header;
    BYTE* rows = withRows ? static_cast<BYTE*>(lock.Data()) + RowsOffset(header) : nullptr;
    const auto height = static_cast<UINT>(header.biHeight);
    if (GetDIBits(dc, bitmap, 0, height, rows, info, DIB_RGB_COLORS) == 0)
        return false;
    header = info->bmiHeader;
    return true;
}
}  // namespace

HGLOBAL BitmapToDib(HBITMAP bitmap, DWORD compression, WORD bitCount, HPALETTE palette) {
    BITMAP bm{};
    if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP || !GetObjectA(bitmap, sizeof bm, &bm))
        return nullptr;
    if (!palette)
        palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = bitCount ? bitCount : static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
    header.biCompression = compression;

    CScreenDcWithPalette screen(palette);
    if (!screen.Get())
        return nullptr;
    CGlobalBlock block(GlobalAlloc(GHND, static_cast<SIZE_T>(RowsOffset(header))));
    if (!block || !ReadBits(screen.Get(), bitmap, block.Get(), false, header))
        return nullptr;

    uint64_t imageSize = header.biSizeImage;
    if (imageSize == 0) {
        imageSize = DibRowsSize(header.biBitCount, static_cast<uint32_t>(header.biWidth),
                                static_cast<uint32_t>(header.biHeight));
        if (compression != BI_RGB)
            imageSize = imageSize * 3 / 2;
    }
    const uint64_t total = RowsOffset(header) + imageSize;
    if (total > kMaxPackedDibSize)
        return nullptr;
    // When growing fails the old block is still there and the guard frees it; on success the handle may change.
    HGLOBAL grown = GlobalReAlloc(block.Get(), static_cast<SIZE_T>(total), GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (!grown)
        return nullptr;
    block.Release();
    block.Reset(grown);
    if (!ReadBits(screen.Get(), bitmap, block.Get(), true, header))
        return nullptr;
    return block.Release();
}
