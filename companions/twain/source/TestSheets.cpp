#include "companions/twain/source/TestSheets.h"

#include <windows.h>

#include <cstring>

#include "companions/kdmlib/core/SamplePages.h"
#include "framework/Handles.h"

namespace {
constexpr int kLeft = 170;
constexpr int kRight = 1728 - 170;

struct TextLine {
    const char* text;
    int top;
    bool right = false;  // set flush with the right margin
};

// The letter, in fine rows (196 to the inch): a 16-point letterhead, then 10.5-point type.
const TextLine kLetterhead = {"华东贸易有限公司", 170};
const TextLine kLetter[] = {
    {"上海市浦东新区张江路 288 号    电话 021-62781234    传真 021-62781235", 262},
    {"2026年12月8日", 380, true},
    {"张伟 先生：", 470},
    {"    您好！感谢贵公司对本公司产品的关注。现将 KDM-540 传真扫描一体机的", 540},
    {"报价及供货条件函告如下：", 590},
    {"    一、型号：KDM-540 传真扫描一体机（含 LUMENPOST 传真软件）", 660},
    {"    二、单价：人民币 2,980 元/台（含增值税）", 710},
    {"    三、一次订购 10 台以上，每台优惠 200 元", 760},
    {"    四、交货：收到订单后 7 个工作日内送货上门", 810},
    {"    五、保修：整机保修一年，终身维修服务", 860},
    {"    本报价有效期至 2027 年 1 月 31 日。如有疑问，请随时来电或传真联系。", 930},
    {"期待与贵公司合作！", 980},
    {"    此致", 1060},
    {"敬礼", 1110},
    {"华东贸易有限公司  销售部", 1220, true},
    {"陈静", 1270, true},
};

HFONT LetterFont(int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, "SimSun");
}

void PutText(HDC dc, const TextLine& line) {
    const int length = static_cast<int>(strlen(line.text));
    int x = kLeft;
    if (line.right) {
        SIZE size{};
        GetTextExtentPoint32A(dc, line.text, length, &size);
        x = kRight - size.cx;
    }
    TextOutA(dc, x, line.top, line.text, length);
}

// The letter drawn by GDI into a one-bit page: white paper, black type. A blank sheet if GDI cannot draw it.
kdm::BilevelImage TypedLetter() {
    kdm::BilevelImage page(mh::kA4Width, mh::kA4FineRows);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = static_cast<LONG>(page.width);
    info.header.biHeight = -static_cast<LONG>(page.height);  // top-down, as the page's rows
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.colours[0] = {255, 255, 255, 0};  // a clear bit is white paper, as on the page
    void* bits = nullptr;
    CMemoryDc dc(CreateCompatibleDC(nullptr));
    CBitmapHandle bitmap(
        CreateDIBSection(dc.Get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    CFontHandle heading(LetterFont(44, FW_BOLD));
    CFontHandle body(LetterFont(29, FW_NORMAL));
    if (!dc || !bitmap || !heading || !body)
        return page;
    {
        CSelectObject paper(dc.Get(), bitmap.Get());
        const RECT all{0, 0, static_cast<LONG>(page.width), static_cast<LONG>(page.height)};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(dc.Get(), RGB(0, 0, 0));
        SetBkMode(dc.Get(), TRANSPARENT);
        {
            CSelectObject font(dc.Get(), heading.Get());
            PutText(dc.Get(), kLetterhead);
        }
        const RECT rule{kLeft, 320, kRight, 324};
        FillRect(dc.Get(), &rule, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        CSelectObject font(dc.Get(), body.Get());
        for (const TextLine& line : kLetter)
            PutText(dc.Get(), line);
        GdiFlush();
        memcpy(page.bits.data(), bits, page.bits.size());
    }
    return page;
}
}  // namespace

kdm::BilevelImage TestSheet(unsigned index, scan::Resolution resolution) {
    const uint32_t rows = scan::PageRows(resolution);
    switch (index % 3) {
    case 0: {
        kdm::BilevelImage letter = TypedLetter();
        return resolution == scan::Resolution::kFine ? letter : scan::StandardFromFine(letter);
    }
    case 1:
        return mh::FormPage(rows);
    }
    return mh::PhotographPage(rows);
}
