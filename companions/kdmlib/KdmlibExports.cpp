// The exports of kdmlib.dll: argument checks, progress messages and global blocks around the core. No exception
// leaves an export: an allocation failure inside the core gives 0 like any other failure.
#include <windows.h>

#include <new>

#include "companions/kdmlib/GlobalImage.h"
#include "companions/kdmlib/core/MhDecoder.h"
#include "companions/kdmlib/core/Rotate.h"
#include "companions/kdmlib/core/Smooth.h"
#include "companions/kdmlib/core/Stretch.h"
#define KDMLIB_API
#include "common/kdmlib.h"

namespace {

kdm::ProgressFn ProgressTo(HWND window, UINT message) {
    if (window == nullptr) {
        return {};
    }
    return [window, message](unsigned percent) { SendMessageA(window, message, percent, 0); };
}

template <typename Body>
HGLOBAL Guarded(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

extern "C" {

HGLOBAL WINAPI
MHtoBmp(const BYTE* coded, DWORD codedBytes, DWORD* work, DWORD, DWORD, DWORD decodeParam, HWND progressWnd) {
    return Guarded([&]() -> HGLOBAL {
        if (coded == nullptr && codedBytes != 0) {
            return nullptr;
        }
        auto page = kdm::DecodeMh({coded, codedBytes}, decodeParam, ProgressTo(progressWnd, kKdmDecodeProgressMessage));
        if (!page) {
            return nullptr;
        }
        if (work != nullptr) {
            *work = page->damagedLines;
        }
        return kdm::NewBilevelBmpBlock(page->image, kdm::kWhiteOnBlack);
    });
}

HGLOBAL WINAPI StretchBmp(const BYTE* bmpImage, DWORD*, DWORD mode, DWORD) {
    return Guarded([&]() -> HGLOBAL {
        auto bmp = kdm::ReadBilevelBmp(kdm::LockedBmpImage(bmpImage));
        if (!bmp) {
            return nullptr;
        }
        auto stretched = kdm::StretchPage(std::move(bmp->image), mode);
        return stretched ? kdm::NewBilevelBmpBlock(*stretched, bmp->colours) : nullptr;
    });
}

HGLOBAL WINAPI BMPRotate(const BYTE* bmpImage, DWORD*, DWORD degrees) {
    return Guarded([&]() -> HGLOBAL {
        auto bmp = kdm::ReadBilevelBmp(kdm::LockedBmpImage(bmpImage));
        if (!bmp) {
            return nullptr;
        }
        auto rotated = kdm::RotatePage(bmp->image, degrees);
        return rotated ? kdm::NewBilevelBmpBlock(*rotated, bmp->colours) : nullptr;
    });
}

HGLOBAL WINAPI SmoothStretch(const BYTE* bmpImage, DWORD*, HWND progressWnd) {
    return Guarded([&]() -> HGLOBAL {
        auto bmp = kdm::ReadBilevelBmp(kdm::LockedBmpImage(bmpImage));
        if (!bmp) {
            return nullptr;
        }
        const kdm::GreyImage grey =
            kdm::SmoothPage(bmp->image, bmp->colours, ProgressTo(progressWnd, kKdmSmoothProgressMessage));
        return kdm::NewGreyBmpBlock(grey);
    });
}
}
