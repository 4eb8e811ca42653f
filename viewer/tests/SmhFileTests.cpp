#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "framework/testing/Scripted.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "common/core/SmhWriter.h"
#include "viewer/SmhFile.h"
#include "viewer/dib/PackedDib.h"

using kdm::BilevelImage;

namespace {
std::string TempPath(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

BilevelImage StripedPage(uint32_t height, uint32_t seed) {
    BilevelImage page(1728, height);
    for (uint32_t y = 0; y < height; y += 10)
        for (uint32_t row = y; row < y + 3 && row < height; ++row)
            for (uint32_t x = (y * 7 + seed * 131) % 1500, end = x + 200; x < end; ++x)
                page.SetBlack(x, row);
    return page;
}

SmhPageSpec Coded(const BilevelImage& image) {
    return SmhPageSpec(mh::EncodeMh(image));
}

// The packed bitmap shows exactly the image (rows bottom-up, palette index 1 black); standard pages have every row
// twice.
::testing::AssertionResult ShowsImage(HGLOBAL dib, const BilevelImage& image, int rowRepeat) {
    if (!dib)
        return ::testing::AssertionFailure() << "no page";
    CGlobalLock lock(dib);
    auto* bi = static_cast<const BITMAPINFOHEADER*>(lock.Data());
    if (bi->biWidth != LONG(image.width) || bi->biHeight != LONG(image.height) * rowRepeat || bi->biBitCount != 1)
        return ::testing::AssertionFailure()
               << "size " << bi->biWidth << "x" << bi->biHeight << " bpp " << bi->biBitCount;
    auto* palette = reinterpret_cast<const RGBQUAD*>(bi + 1);
    bool indexOneIsBlack = palette[1].rgbRed == 0 && palette[0].rgbRed == 255;
    const uint8_t* bits = static_cast<const uint8_t*>(DibBits(bi));
    size_t stride = ((image.width + 31) / 32) * 4;
    for (uint32_t y = 0; y < image.height * rowRepeat; ++y) {
        const uint8_t* row = bits + (image.height * rowRepeat - 1 - y) * stride;
        const uint8_t* source = image.Row(y / rowRepeat);
        const size_t rowBytes = (image.width + 7) / 8;
        for (size_t b = 0; b < rowBytes; ++b) {
            uint8_t expected = indexOneIsBlack ? source[b] : uint8_t(~source[b]);
            uint8_t mask = (b + 1 == rowBytes && image.width % 8) ? uint8_t(0xFF << (8 - image.width % 8)) : 0xFF;
            if ((row[b] & mask) != (expected & mask))
                return ::testing::AssertionFailure() << "row " << y << " byte " << b;
        }
    }
    return ::testing::AssertionSuccess();
}

class SmhFileTest : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<uint8_t>& doc) {
        std::string path = TempPath(name);
        WriteFileBytes(path, doc);
        m_files.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const auto& f : m_files)
            DeleteFileA(f.c_str());
    }

    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
    std::vector<std::string> m_files;
};
}  // namespace

TEST_F(SmhFileTest, AValidFileOpensWithPageOneDecodedAndTheOthersLater) {
    BilevelImage pages[3] = {StripedPage(300, 1), StripedPage(200, 2), StripedPage(250, 3)};
    std::string path =
        Write("three.smh", BuildSmhDocument(MakeSmhHeader(3), {Coded(pages[0]), Coded(pages[1]), Coded(pages[2])}));
    SmhOpened opened;
    ASSERT_EQ(ValidateSmhFile(path, nullptr, opened), SmhValidation::kValid);
    EXPECT_EQ(opened.pageCount, 3u);
    EXPECT_TRUE(ShowsImage(opened.firstPage.Get(), pages[0], 1));
    for (uint32_t n = 1; n <= 3; ++n) {
        CGlobalBlock page(LoadSmhPage(path, n, nullptr));
        EXPECT_TRUE(ShowsImage(page.Get(), pages[n - 1], 1)) << "page " << n;
    }
    EXPECT_EQ(LoadSmhPage(path, 4, nullptr), nullptr);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(SmhFileTest, AStandardResolutionPageIsStretchedToSquarePixels) {
    BilevelImage page = StripedPage(120, 4);
    std::string path = Write("standard.smh", BuildSmhDocument(MakeSmhHeader(1, true), {Coded(page)}));
    CGlobalBlock dib(LoadSmhPage(path, 1, nullptr));
    EXPECT_TRUE(ShowsImage(dib.Get(), page, 2));
}

TEST_F(SmhFileTest, GapsAndLongRecordsAreSteppedOver) {
    BilevelImage a = StripedPage(100, 5), b = StripedPage(100, 6);
    SmhPageSpec first = Coded(a);
    first.gapBytes = 17;
    first.advanceBytes = static_cast<uint32_t>(first.coded.size() + 999);
    std::string path = Write("gaps.smh", BuildSmhDocument(MakeSmhHeader(2), {first, Coded(b)}));
    CGlobalBlock p2(LoadSmhPage(path, 2, nullptr));
    EXPECT_TRUE(ShowsImage(p2.Get(), b, 1));
}

TEST_F(SmhFileTest, BadHeadersAreInvalidWithoutAMessage) {
    auto valid = BuildSmhDocument(MakeSmhHeader(1), {Coded(StripedPage(50, 7))});
    auto withHeader = [&](auto change) {
        auto doc = valid;
        SmhFileHeader h;
        std::copy(doc.begin(), doc.begin() + 384, h.raw.begin());
        change(h);
        std::copy(h.raw.begin(), h.raw.end(), doc.begin());
        return doc;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> doc;
    } cases[] = {
        {"format2.smh", withHeader([](SmhFileHeader& h) { h.SetFormatId(2); })},
        {"nopages.smh", withHeader([](SmhFileHeader& h) { h.SetPageCount(0); })},
        {"short.smh", std::vector<uint8_t>(valid.begin(), valid.begin() + 383)},
        {"empty.smh", {}},
        {"refused.smh", withHeader([](SmhFileHeader& h) {
             h.SetDocKind(2);
             h.SetMarkFlag(1);
             h.SetMarkCount(1);
         })},
        {"nodata.smh", BuildSmhDocument(MakeSmhHeader(1), {SmhPageSpec()})},
        {"garbage.smh", withHeader([](SmhFileHeader&) {})},
    };
    // The last case: a valid header over coded data that is pure noise still decodes to something or nothing,
    // but never crashes; garble it.
    for (size_t i = 384 + 48; i < cases[6].doc.size(); ++i)
        cases[6].doc[i] = static_cast<uint8_t>(i * 37);
    for (auto& c : cases) {
        SmhOpened opened;
        SmhValidation result = ValidateSmhFile(Write(c.name, c.doc), nullptr, opened);
        if (std::string(c.name) == "garbage.smh")
            continue;
        EXPECT_EQ(result, SmhValidation::kInvalid) << c.name;
        EXPECT_FALSE(opened.firstPage) << c.name;
    }
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(SmhFileTest, TheRefusedCombinationOpensAsAPrintCopy) {
    auto doc = BuildSmhDocument(MakeSmhHeader(1), {Coded(StripedPage(50, 8))});
    doc[4] = 3;   // docKind
    doc[12] = 1;  // markCount
    doc[28] = 1;  // markFlag
    SmhOpened opened;
    EXPECT_EQ(ValidateSmhFile(Write("kind3.smh", doc), nullptr, opened), SmhValidation::kValid);
}

TEST_F(SmhFileTest, UnopenableFilesAreReportedWithTheirCause) {
    SmhOpened opened;
    EXPECT_EQ(ValidateSmhFile(TempPath("absent.smh"), nullptr, opened), SmhValidation::kCannotOpen);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    EXPECT_EQ(ValidateSmhFile(temp, nullptr, opened), SmhValidation::kCannotOpen) << "a folder";

    std::string locked = Write("locked.smh", BuildSmhDocument(MakeSmhHeader(1), {Coded(StripedPage(50, 9))}));
    HANDLE writer = CreateFileA(locked.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ValidateSmhFile(locked, nullptr, opened), SmhValidation::kCannotOpen);
    CloseHandle(writer);

    std::string longPath = std::string(temp) + std::string(259 - strlen(temp), 'x');
    EXPECT_EQ(ValidateSmhFile(longPath, nullptr, opened), SmhValidation::kCannotOpen);

    ASSERT_EQ(m_boxes.Calls().size(), 4u);
    EXPECT_EQ(m_boxes.Calls()[0].text, TempPath("absent.smh") + " was not found.");
    EXPECT_EQ(m_boxes.Calls()[2].text, "A sharing violation occurred while accessing " + locked + ".");
    for (const auto& call : m_boxes.Calls())
        EXPECT_EQ(call.type, UINT(MB_ICONEXCLAMATION | MB_OK));
}

TEST_F(SmhFileTest, AFileThatVanishesBetweenPagesGivesNoPage) {
    std::string path =
        Write("vanish.smh", BuildSmhDocument(MakeSmhHeader(2), {Coded(StripedPage(40, 1)), Coded(StripedPage(40, 2))}));
    SmhOpened opened;
    ASSERT_EQ(ValidateSmhFile(path, nullptr, opened), SmhValidation::kValid);
    DeleteFileA(path.c_str());
    EXPECT_EQ(LoadSmhPage(path, 2, nullptr), nullptr);
}

namespace {
// Counts the image library's progress messages and whether the window was disabled while they came.
struct ProgressWindow {
    static inline int messages = 0;
    static inline int last = -1;
    static inline bool enabledDuring = false;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == 2127) {
            ++messages;
            last = static_cast<int>(wp);
            enabledDuring |= IsWindowEnabled(hwnd) != FALSE;
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
};
}  // namespace

TEST_F(SmhFileTest, DecodingReportsProgressToTheBusyMainWindow) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ProgressWindow::Proc;
    wc.lpszClassName = "SmhProgressTest";
    RegisterClassA(&wc);
    HWND main = CreateWindowExA(0, "SmhProgressTest", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    std::string path = Write("progress.smh", BuildSmhDocument(MakeSmhHeader(1), {Coded(mh::TypedLetterPage())}));
    CGlobalBlock page(LoadSmhPage(path, 1, main));
    EXPECT_TRUE(page);
    EXPECT_GT(ProgressWindow::messages, 1);
    EXPECT_EQ(ProgressWindow::last, 100);
    EXPECT_FALSE(ProgressWindow::enabledDuring);
    EXPECT_TRUE(IsWindowEnabled(main));
    DestroyWindow(main);
}

class SmhCopyTest : public SmhFileTest {
protected:
    void SetUp() override {
        SmhFileHeader h = MakeSmhHeader(2);
        h.SetStationNumber("0755-8888");
        h.SetStationName("Sender");
        h.SetDestNumber("old dest");
        h.SetDestName("old name");
        m_source = Write("source.smh", BuildSmhDocument(h, {Coded(StripedPage(60, 1)), Coded(StripedPage(60, 2))}));
        m_target = TempPath("xmitfax0.smh");
        m_files.push_back(m_target);
    }
    static void Station(const char* number, const char* name) {
        WritePrivateProfileStringA("COMMON", "StationNumber", number, "KDM540.INI");
        WritePrivateProfileStringA("COMMON", "StationName", name, "KDM540.INI");
    }
    SmhFileHeader TargetHeader() {
        auto bytes = ReadFileBytes(m_target);
        SmhFileHeader h;
        if (bytes.size() >= 384)
            std::copy(bytes.begin(), bytes.begin() + 384, h.raw.begin());
        return h;
    }
    std::string m_source, m_target;
};

TEST_F(SmhCopyTest, SendCopyCarriesDestinationAndStationAndEveryPageUnchanged) {
    Station("010-62345678", "华信贸易");
    ASSERT_EQ(CopySmhWithHeader(m_source, m_target, 2, "王经理", "021-58881234"), SmhCopy::kPatched);
    SmhFileHeader h = TargetHeader();
    EXPECT_EQ(h.DocKind(), 2);
    EXPECT_EQ(h.DestName(), "王经理");
    EXPECT_EQ(h.DestNumber(), "021-58881234");
    EXPECT_EQ(h.StationNumber(), "010-62345678");
    EXPECT_EQ(h.StationName(), "华信贸易");
    auto source = ReadFileBytes(m_source), target = ReadFileBytes(m_target);
    ASSERT_EQ(source.size(), target.size());
    EXPECT_TRUE(std::equal(source.begin() + 384, source.end(), target.begin() + 384));
}

TEST_F(SmhCopyTest, EmptyStationTextsClearTheirFieldsAndLongOnesAreCut) {
    Station("", std::string(70, 'n').c_str());
    ASSERT_EQ(CopySmhWithHeader(m_source, m_target, 2, "a", "1"), SmhCopy::kPatched);
    SmhFileHeader h = TargetHeader();
    EXPECT_EQ(h.StationNumber(), "");
    EXPECT_EQ(h.StationName(), std::string(64, 'n'));
    Station(std::string(32, '7').c_str(), "x");
    ASSERT_EQ(CopySmhWithHeader(m_source, m_target, 2, "a", "1"), SmhCopy::kPatched);
    EXPECT_EQ(TargetHeader().StationNumber(), std::string(32, '7'));
    EXPECT_EQ(TargetHeader().raw[146 + 32], 0);
}

TEST_F(SmhCopyTest, PrintCopyHasNoDestinationAndTheSourcesStation) {
    Station("999", "ignored");
    ASSERT_EQ(CopySmhWithHeader(m_source, m_target, 3, nullptr, nullptr), SmhCopy::kPatched);
    SmhFileHeader h = TargetHeader();
    EXPECT_EQ(h.DocKind(), 3);
    EXPECT_EQ(h.DestName(), "");
    EXPECT_EQ(h.DestNumber(), "");
    EXPECT_EQ(h.StationNumber(), "0755-8888");
    EXPECT_EQ(h.StationName(), "Sender");
}

TEST_F(SmhCopyTest, AnOlderCopyNeverPassesForThisJobs) {
    // Not an SMH file: copied, but not patched.
    std::string text = Write("notsmh.smh", std::vector<uint8_t>(500, 'x'));
    EXPECT_EQ(CopySmhWithHeader(text, m_target, 2, "a", "1"), SmhCopy::kUnpatched);
    EXPECT_EQ(ReadFileBytes(m_target), std::vector<uint8_t>(500, 'x'));
    // A missing source leaves no copy at all, not the older one.
    EXPECT_EQ(CopySmhWithHeader(TempPath("gone.smh"), m_target, 3, nullptr, nullptr), SmhCopy::kNotCopied);
    EXPECT_EQ(GetFileAttributesA(m_target.c_str()), INVALID_FILE_ATTRIBUTES);
    // A read-only document makes a copy the next job can still replace, and a read-only older copy is replaced.
    SetFileAttributesA(m_source.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CopySmhWithHeader(m_source, m_target, 3, nullptr, nullptr), SmhCopy::kPatched);
    EXPECT_FALSE(GetFileAttributesA(m_target.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(m_target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CopySmhWithHeader(m_source, m_target, 2, "b", "2"), SmhCopy::kPatched);
    EXPECT_EQ(TargetHeader().DestName(), "b");
    SetFileAttributesA(m_source.c_str(), FILE_ATTRIBUTE_NORMAL);
    // An older copy held open by another program stays, and is not this job's.
    {
        CKernelHandle held(CreateFileA(m_target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(CopySmhWithHeader(m_source, m_target, 2, "c", "3"), SmhCopy::kNotCopied);
    }
    EXPECT_EQ(TargetHeader().DestName(), "b");
    EXPECT_TRUE(m_boxes.Calls().empty());
}
