#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "common/kdmlib.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"

// The DLL as the Viewer uses it: through its import library, with global blocks and progress messages.
namespace {

struct Block {
    HGLOBAL handle;
    explicit Block(HGLOBAL h) : handle(h) {}
    ~Block() {
        if (handle != nullptr) {
            GlobalFree(handle);
        }
    }
    std::vector<uint8_t> Bytes() const {
        const auto* p = static_cast<const uint8_t*>(GlobalLock(handle));
        std::vector<uint8_t> bytes(p, p + GlobalSize(handle));
        GlobalUnlock(handle);
        return bytes;
    }
};

// A block as the Viewer makes one from a packed bitmap, locked for the call.
struct LockedCopy {
    HGLOBAL handle;
    BYTE* p;
    explicit LockedCopy(const std::vector<uint8_t>& bytes) : handle(GlobalAlloc(GMEM_MOVEABLE, bytes.size())) {
        p = static_cast<BYTE*>(GlobalLock(handle));
        std::memcpy(p, bytes.data(), bytes.size());
    }
    ~LockedCopy() {
        GlobalUnlock(handle);
        GlobalFree(handle);
    }
};

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::vector<WPARAM>* g_progress = nullptr;
UINT g_progressMessage = 0;

LRESULT CALLBACK RecordProgress(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == g_progressMessage && g_progress != nullptr) {
        g_progress->push_back(wp);
        return 0;
    }
    return DefWindowProcA(window, message, wp, lp);
}

HWND ProgressWindow() {
    static HWND window = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordProgress;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KdmlibTestProgress";
        RegisterClassA(&wc);
        return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    }();
    return window;
}

std::vector<uint8_t> DecodedPage(const kdm::BilevelImage& page) {
    const std::vector<uint8_t> coded = mh::EncodeMh(page);
    DWORD work = 0xFFFF;
    Block bmp(MHtoBmp(coded.data(), static_cast<DWORD>(coded.size()), &work, 1, 1, 0, nullptr));
    EXPECT_NE(bmp.handle, nullptr);
    EXPECT_EQ(work, 0u);
    return bmp.handle ? bmp.Bytes() : std::vector<uint8_t>{};
}

TEST(MHtoBmp, GivesABmpFileImageOfThePageAndReportsProgress) {
    const kdm::BilevelImage page = mh::TypedLetterPage(mh::kA4StandardRows);
    const std::vector<uint8_t> coded = mh::EncodeMh(page, {true, true, true});
    std::vector<WPARAM> progress;
    g_progress = &progress;
    g_progressMessage = kKdmDecodeProgressMessage;
    DWORD work = 0;
    Block bmp(MHtoBmp(coded.data(), static_cast<DWORD>(coded.size()), &work, 1, 1, 1, ProgressWindow()));
    g_progress = nullptr;
    ASSERT_NE(bmp.handle, nullptr);
    EXPECT_EQ(GlobalFlags(bmp.handle) & GMEM_DISCARDED, 0u);
    const std::vector<uint8_t> b = bmp.Bytes();
    ASSERT_GE(b.size(), 62u + page.bits.size());
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), 62u + page.bits.size());
    EXPECT_EQ(U32(b, 10), 62u);
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 1728u);
    EXPECT_EQ(U32(b, 22), page.height);
    EXPECT_EQ(b[28], 1);
    EXPECT_EQ(U32(b, 54), 0x00FFFFFFu);  // white
    EXPECT_EQ(U32(b, 58), 0u);           // black
    for (uint32_t y = 0; y < page.height; ++y) {
        const uint8_t* stored = b.data() + 62 + (page.height - 1 - y) * page.Stride();
        ASSERT_EQ(0, std::memcmp(stored, page.Row(y), page.Stride())) << "row " << y;
    }
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100u);
    for (size_t i = 1; i < progress.size(); ++i) {
        EXPECT_LE(progress[i - 1], progress[i]);
    }
}

TEST(MHtoBmp, BadDataGivesNoBlock) {
    const std::vector<uint8_t> garbage(3000, 0x00);
    DWORD work = 0;
    EXPECT_EQ(MHtoBmp(garbage.data(), static_cast<DWORD>(garbage.size()), &work, 1, 1, 0, nullptr), nullptr);
    EXPECT_EQ(MHtoBmp(garbage.data(), 0, &work, 1, 1, 0, nullptr), nullptr);
    EXPECT_EQ(MHtoBmp(nullptr, 100, &work, 1, 1, 0, nullptr), nullptr);
}

TEST(StretchBmp, ModeZeroDoublesTheRowsModeOneKeepsThem) {
    LockedCopy decoded(DecodedPage(mh::CoverPage(mh::kA4StandardRows)));
    DWORD work = 0;
    Block tall(StretchBmp(decoded.p, &work, 0, 1));
    ASSERT_NE(tall.handle, nullptr);
    EXPECT_EQ(U32(tall.Bytes(), 22), 2 * mh::kA4StandardRows);
    Block same(StretchBmp(decoded.p, &work, 1, 1));
    ASSERT_NE(same.handle, nullptr);
    EXPECT_EQ(same.Bytes(), std::vector<uint8_t>(decoded.p, decoded.p + GlobalSize(decoded.handle)));
    EXPECT_EQ(StretchBmp(decoded.p, &work, 7, 1), nullptr);
}

TEST(BMPRotate, FourQuarterTurnsGiveBackTheImage) {
    const std::vector<uint8_t> original = DecodedPage(mh::RandomPage(1216, 300, 20, 4));
    std::vector<uint8_t> bytes = original;
    for (int i = 0; i < 4; ++i) {
        LockedCopy in(bytes);
        DWORD work = 0;
        Block turned(BMPRotate(in.p, &work, 90));
        ASSERT_NE(turned.handle, nullptr);
        bytes = turned.Bytes();
        EXPECT_EQ(U32(bytes, 18), i % 2 == 0 ? 300u : 1216u);
    }
    EXPECT_EQ(bytes, original);
    LockedCopy in(original);
    DWORD work = 0;
    EXPECT_EQ(BMPRotate(in.p, &work, 45), nullptr);
    EXPECT_EQ(BMPRotate(in.p, &work, 0), nullptr);
}

TEST(BMPRotate, RefusesImagesItCannotTrust) {
    const std::vector<uint8_t> good = DecodedPage(mh::RandomPage(864, 50, 20, 5));
    DWORD work = 0;
    std::vector<uint8_t> eightBit = good;
    eightBit[28] = 8;
    EXPECT_EQ(BMPRotate(LockedCopy(eightBit).p, &work, 90), nullptr);
    // A block shorter than the image it claims to hold.
    std::vector<uint8_t> cut(good.begin(), good.end() - 100);
    EXPECT_EQ(BMPRotate(LockedCopy(cut).p, &work, 180), nullptr);
    std::vector<uint8_t> tooTall = good;
    tooTall[23] = 0x10;
    EXPECT_EQ(BMPRotate(LockedCopy(tooTall).p, &work, 270), nullptr);
    EXPECT_EQ(BMPRotate(nullptr, &work, 90), nullptr);
    EXPECT_EQ(StretchBmp(LockedCopy(cut).p, &work, 0, 1), nullptr);
    EXPECT_EQ(SmoothStretch(LockedCopy(cut).p, &work, nullptr), nullptr);
}

TEST(SmoothStretch, GivesAGreyImageOfTheSameSizeAndReportsProgress) {
    LockedCopy in(DecodedPage(mh::TypedLetterPage(mh::kA4StandardRows)));
    std::vector<WPARAM> progress;
    g_progress = &progress;
    g_progressMessage = kKdmSmoothProgressMessage;
    DWORD work = 0;
    Block grey(SmoothStretch(in.p, &work, ProgressWindow()));
    g_progress = nullptr;
    ASSERT_NE(grey.handle, nullptr);
    const std::vector<uint8_t> b = grey.Bytes();
    EXPECT_EQ(U32(b, 18), 1728u);
    EXPECT_EQ(U32(b, 22), mh::kA4StandardRows);
    EXPECT_EQ(b[28], 8);
    EXPECT_EQ(U32(b, 46), 256u);
    EXPECT_EQ(U32(b, 10), 14u + 40 + 1024);
    EXPECT_EQ(b.size(), 14u + 40 + 1024 + 1728u * mh::kA4StandardRows);
    EXPECT_EQ(U32(b, 54 + 4 * 128), 0x00808080u);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100u);
}

}  // namespace
