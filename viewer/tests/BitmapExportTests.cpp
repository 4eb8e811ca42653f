#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "framework/DocumentHost.h"
#include "framework/Handles.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "common/core/SmhWriter.h"
#include "viewer/ViewerDoc.h"

// The current page written out as a BMP file, read back by readers that are not ours: the system's, and
// (through the files left in MIROLO_EXPORT_CHECK_DIR) ImageMagick's on the Linux side.
namespace {
class CHost : public IDocumentHost {
public:
    HWND OwnerWindow() const override { return nullptr; }
    void AddToRecentFileList(const std::string&) override {}
    void OnDocumentTitleChanged(const CDocument&) override {}
};

std::string Bytes(HGLOBAL block) {
    CGlobalLock lock(block);
    return std::string(static_cast<const char*>(lock.Data()), lock.Size());
}

uint32_t Le32(const std::string& bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
           static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

class BitmapExportTest : public testing::Test {
protected:
    void SetUp() override {
        const std::vector<uint8_t> fax =
            BuildSmhDocument(MakeSmhHeader(1), {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 300, 8, 21)))});
        const std::string path = m_folder.Path() + "page.smh";
        WriteFileBytes(path, std::string(fax.begin(), fax.end()));
        ASSERT_TRUE(m_doc.OnOpenDocument(path));
    }
    // Exports to `name` in the scratch folder; returns the file's bytes.
    std::string Export(const std::string& name) {
        m_dialogs.ChooseSaveFile(m_folder.Path() + name);
        EXPECT_TRUE(m_doc.ExportBitmap());
        return ReadFileBytes(m_folder.Path() + name);
    }

    CTempFolder m_folder;
    CHost m_host;
    CViewerDoc m_doc{m_host, m_folder.Path()};
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_boxSeam{m_boxes};
    CScriptedCommonDialogs m_dialogs;
    CScopedSeam<ICommonDialogs> m_dialogSeam{m_dialogs};
};
}  // namespace

TEST_F(BitmapExportTest, ThePageIsWrittenAsItIsHeldAndReadsBackWithTheSamePixels) {
    const std::string file = Export("page.bmp");
    ASSERT_EQ(m_dialogs.SaveCalls().size(), 1u);
    const auto& call = m_dialogs.SaveCalls()[0];
    EXPECT_EQ(call.defaultExtension, "BMP");
    EXPECT_EQ(call.initialFile, "BITMAP");
    EXPECT_EQ(call.filter, "bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*|");
    EXPECT_EQ(call.flags, DWORD(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON));

    const std::string page = Bytes(m_doc.CurrentImage());
    ASSERT_EQ(file.size(), 14 + page.size());
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 10), 14u + 40 + 8);
    EXPECT_EQ(file.substr(14), page);
    EXPECT_EQ(Le32(page, 20), (1728u / 8) * 300) << "biSizeImage set in the page";

    // The system's own reader sees the page's pixels.
    HBITMAP read = static_cast<HBITMAP>(LoadImageA(nullptr, (m_folder.Path() + "page.bmp").c_str(), IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(read, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObjectA(read, sizeof section, &section), int(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, 1728);
    EXPECT_EQ(section.dsBm.bmHeight, 300);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 1);
    EXPECT_EQ(std::string(static_cast<const char*>(section.dsBm.bmBits), (1728 / 8) * 300), page.substr(40 + 8));
    DeleteObject(read);

#ifdef MIROLO_EXPORT_CHECK_DIR
    // For ImageMagick: the export, and the page's pixels as a plain PBM written here, black where the bit is set.
    CreateDirectoryA(MIROLO_EXPORT_CHECK_DIR, nullptr);
    WriteFileBytes(std::string(MIROLO_EXPORT_CHECK_DIR) + "\\page.bmp", file);
    std::string pbm = "P1\n1728 300\n";
    const size_t stride = 1728 / 8;
    for (int y = 299; y >= 0; --y) {  // the rows of a bottom-up bitmap
        for (int x = 0; x < 1728; ++x) {
            const auto byte = static_cast<uint8_t>(page[40 + 8 + static_cast<size_t>(y) * stride + x / 8]);
            pbm += ((byte >> (7 - x % 8)) & 1) ? "1 " : "0 ";
        }
        pbm += "\n";
    }
    WriteFileBytes(std::string(MIROLO_EXPORT_CHECK_DIR) + "\\expected.pbm", pbm);
#endif
}

TEST_F(BitmapExportTest, RotatedAndSmoothedPagesAreWrittenAsTheyAreNow) {
    ASSERT_TRUE(m_doc.Rotate(PageRotation::kRight90));
    const std::string turned = Export("turned.bmp");
    EXPECT_EQ(Le32(turned, 14 + 4), 300u);
    EXPECT_EQ(Le32(turned, 14 + 8), 1728u);

    ASSERT_TRUE(m_doc.Smooth());
    const std::string smoothed = Export("smooth.bmp");
    EXPECT_EQ(Le32(smoothed, 10), 14u + 40 + 256 * 4) << "the full grey colour table";
    EXPECT_EQ(smoothed.substr(14), Bytes(m_doc.CurrentImage()));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(BitmapExportTest, WhatCannotBeWrittenIsSaidAndCancelWritesNothing) {
    // Cancel: no file.
    EXPECT_FALSE(m_doc.ExportBitmap());
    EXPECT_TRUE(FilesMatching(m_folder.Path(), "*.bmp").empty());

    // A folder that is not there, and a read-only file.
    m_dialogs.ChooseSaveFile(m_folder.Path() + "no such folder\\page.bmp");
    EXPECT_FALSE(m_doc.ExportBitmap());
    const std::string readOnly = m_folder.Path() + "kept.bmp";
    WriteFileBytes(readOnly, "kept");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    m_dialogs.ChooseSaveFile(readOnly);
    EXPECT_FALSE(m_doc.ExportBitmap());
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(readOnly), "kept");

    // A page held with a core header: the file is made, then the page refused.
    m_doc.DeleteContents();
    CGlobalBlock core(GlobalAlloc(GHND, 12 + 2 * 3 + 4 * 8));
    {
        CGlobalLock lock(core.Get());
        auto* header = static_cast<BITMAPCOREHEADER*>(lock.Data());
        *header = {sizeof(BITMAPCOREHEADER), 32, 8, 1, 1};
    }
    m_doc.AppendPage(std::move(core));
    m_dialogs.ChooseSaveFile(m_folder.Path() + "core.bmp");
    EXPECT_FALSE(m_doc.ExportBitmap());
    EXPECT_TRUE(FileExists(m_folder.Path() + "core.bmp"));
    EXPECT_EQ(ReadFileBytes(m_folder.Path() + "core.bmp"), "");

    ASSERT_EQ(m_boxes.Calls().size(), 3u);
    EXPECT_EQ(m_boxes.Calls()[0].text, m_folder.Path() + "no such folder\\page.bmp contains an invalid path.");
    EXPECT_EQ(m_boxes.Calls()[1].text, "Access to " + readOnly + " was denied.");
    EXPECT_EQ(m_boxes.Calls()[2].text, "不能保存DIB");
    EXPECT_EQ(m_boxes.Calls()[2].caption, "");
    EXPECT_EQ(m_boxes.Calls()[2].type, UINT(MB_ICONINFORMATION | MB_OK));
}
