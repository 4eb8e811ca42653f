#include "setup/Splash.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kFileHeaderSize = sizeof(BITMAPFILEHEADER);

struct Locked {
    explicit Locked(HGLOBAL block) : block(block), bytes(static_cast<BYTE*>(GlobalLock(block))) {}
    ~Locked() {
        if (bytes)
            GlobalUnlock(block);
    }
    HGLOBAL block;
    BYTE* bytes;
};

// The splash is drawn from these; a damaged file must not make them point outside the block.
bool Plausible(const BYTE* bytes, DWORD length) {
    if (length < kFileHeaderSize + sizeof(BITMAPINFOHEADER))
        return false;
    auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(bytes);
    auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes + kFileHeaderSize);
    if (info->biSize < sizeof(BITMAPINFOHEADER) || info->biSize > length - kFileHeaderSize)
        return false;
    if (info->biWidth <= 0 || info->biWidth > 4096 || info->biHeight == 0 || info->biHeight > 4096 ||
        info->biHeight < -4096 || info->biPlanes != 1 || file->bfOffBits >= length)
        return false;
    unsigned long long stride = (static_cast<unsigned long long>(info->biWidth) * info->biBitCount + 31) / 32 * 4;
    unsigned long long rows = info->biHeight < 0 ? -info->biHeight : info->biHeight;
    return info->biCompression == BI_RGB && stride * rows <= length - file->bfOffBits;
}

}  // namespace

bool LoadSplash(Splash& splash, const char* ownFolder) {
    char path[MAX_PATH];
    if (std::snprintf(path, sizeof path, "%s\\OPENING.BMP", ownFolder) >= static_cast<int>(sizeof path))
        return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD length = SetFilePointer(file, 0, nullptr, FILE_END);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    HGLOBAL block = length != INVALID_SET_FILE_POINTER && length > kFileHeaderSize
                        ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length)
                        : nullptr;
    bool loaded = false;
    if (block) {
        Locked bytes(block);
        DWORD read = 0;
        loaded = bytes.bytes && ReadFile(file, bytes.bytes, kFileHeaderSize, &read, nullptr) &&
                 read == kFileHeaderSize && reinterpret_cast<BITMAPFILEHEADER*>(bytes.bytes)->bfType == 0x4D42 &&
                 SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
                 ReadFile(file, bytes.bytes, length, &read, nullptr) && read == length &&
                 Plausible(bytes.bytes, length);
        if (loaded) {
            auto* info = reinterpret_cast<BITMAPINFOHEADER*>(bytes.bytes + kFileHeaderSize);
            splash.width = static_cast<int16_t>(info->biWidth);
            splash.height = static_cast<int16_t>(info->biHeight < 0 ? -info->biHeight : info->biHeight);
        }
    }
    CloseHandle(file);
    if (!loaded) {
        if (block)
            GlobalFree(block);
        return false;
    }
    splash.file = block;
    return true;
}

HPALETTE MakeSplashPalette(const Splash& splash) {
    Locked bytes(splash.file);
    if (!bytes.bytes)
        return nullptr;
    auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.bytes + kFileHeaderSize);
    if (info->biSize != sizeof(BITMAPINFOHEADER))
        return nullptr;
    DWORD colours = info->biClrUsed;
    if (colours == 0 && info->biBitCount <= 8 &&
        (info->biBitCount == 1 || info->biBitCount == 4 || info->biBitCount == 8))
        colours = 1u << info->biBitCount;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    if (colours) {
        // The colour table lies between the header and the bits; a count beyond it is cut to what is there.
        auto* table = reinterpret_cast<const RGBQUAD*>(bytes.bytes + kFileHeaderSize + info->biSize);
        DWORD room = (GlobalSize(splash.file) - kFileHeaderSize - info->biSize) / sizeof(RGBQUAD);
        colours = std::min<DWORD>({colours, 256, room});
        for (DWORD i = 0; i < colours; ++i)
            palette->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        palette->palNumEntries = static_cast<WORD>(colours);
    } else if (info->biBitCount == 24) {
        for (int i = 0; i < 256; ++i)
            palette->palPalEntry[i] = {static_cast<BYTE>((i & 7) * 32), static_cast<BYTE>(((i >> 3) & 7) * 32),
                                       static_cast<BYTE>((i >> 6) * 64), 0};
        palette->palNumEntries = 256;
    } else {
        return nullptr;
    }
    return CreatePalette(palette);
}

void PaintSplash(const Splash& splash, HDC dc) {
    if (!splash.file)
        return;
    Locked bytes(splash.file);
    if (!bytes.bytes)
        return;
    SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    SetBkMode(dc, TRANSPARENT);
    if (splash.palette) {
        SelectPalette(dc, splash.palette, FALSE);
        RealizePalette(dc);
    }
    auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(bytes.bytes);
    auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.bytes + kFileHeaderSize);
    SetDIBitsToDevice(dc, 0, 0, splash.width, splash.height, 0, 0, 0, splash.height, bytes.bytes + file->bfOffBits,
                      info, DIB_RGB_COLORS);
}

void FreeSplash(Splash& splash) {
    if (splash.palette)
        DeleteObject(splash.palette);
    if (splash.file)
        GlobalFree(splash.file);
    splash = {};
}
