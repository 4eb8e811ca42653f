#include <windows.h>

#include <gtest/gtest.h>

#include "framework/DocumentHost.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "common/core/SmhWriter.h"
#include "viewer/ViewerDoc.h"
#include "viewer/resource.h"

using kdm::BilevelImage;

namespace {
class CRecordingHost : public IDocumentHost {
public:
    HWND OwnerWindow() const override { return window; }
    void AddToRecentFileList(const std::string& path) override { recent.push_back(path); }
    void OnDocumentTitleChanged(const CDocument&) override {}
    HWND window = nullptr;
    std::vector<std::string> recent;
};

// A page of short bars whose place depends on `seed`, so every page and every turn of it differs.
BilevelImage BarPage(uint32_t height, uint32_t seed) {
    BilevelImage page(1728, height);
    for (uint32_t y = seed % 7; y < height; y += 9)
        for (uint32_t x = (y * 13 + seed * 101) % 1500, end = x + 150; x < end; ++x)
            page.SetBlack(x, y);
    return page;
}

std::string SmhBytes(std::vector<uint32_t> heights, uint32_t seed = 0, uint32_t claimedPages = 0) {
    std::vector<SmhPageSpec> pages;
    for (uint32_t h : heights)
        pages.emplace_back(mh::EncodeMh(BarPage(h, seed++)));
    SmhFileHeader header = MakeSmhHeader(static_cast<uint32_t>(heights.size()));
    if (claimedPages)
        header.SetPageCount(claimedPages);
    auto bytes = BuildSmhDocument(header, pages);
    return std::string(bytes.begin(), bytes.end());
}

std::string BlockBytes(HGLOBAL block) {
    CGlobalLock lock(block);
    return std::string(static_cast<const char*>(lock.Data()), lock.Size());
}

// A 1-bit packed bitmap whose header claims the given width and height (the rows hold 8 x 8 pixels).
CGlobalBlock TinyDib(LONG width, LONG height) {
    CGlobalBlock block(GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + 32));
    CGlobalLock lock(block.Get());
    auto* header = static_cast<BITMAPINFOHEADER*>(lock.Data());
    *header = {sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 32, 0, 0, 0, 0};
    return block;
}

class ViewerDocTest : public testing::Test {
protected:
    void SetUp() override { m_doc.OnNewDocument(); }
    std::string Write(const std::string& name, const std::string& bytes) {
        WriteFileBytes(m_folder.Path() + name, bytes);
        return m_folder.Path() + name;
    }
    std::string OpenNew(const std::string& name, std::vector<uint32_t> heights) {
        std::string path = Write(name, SmhBytes(heights));
        EXPECT_TRUE(m_doc.OnOpenDocument(path));
        return path;
    }
    std::string EnabledCommands() {
        static const std::pair<UINT, const char*> commands[] = {
            {ID_PAGE_NEXT, "next"},        {ID_PAGE_PREVIOUS, "prev"},       {ID_EDIT_UNDO, "undo"},
            {ID_FILE_SAVE_AS, "save"},     {ID_IMAGE_ROTATE_RIGHT, "right"}, {ID_IMAGE_ROTATE_LEFT, "left"},
            {ID_IMAGE_ROTATE_180, "half"}, {ID_IMAGE_SMOOTH, "smooth"}};
        std::string enabled;
        for (auto [id, name] : commands) {
            CCmdUI ui(id);
            EXPECT_TRUE(m_doc.OnUpdateCommand(ui)) << name;
            if (ui.Enabled())
                enabled += enabled.empty() ? name : std::string(" ") + name;
        }
        return enabled;
    }
    void ExpectEmpty() {
        EXPECT_EQ(m_doc.PageCount(), 0u);
        EXPECT_EQ(m_doc.CurrentPageNumber(), 0u);
        EXPECT_EQ(m_doc.CurrentImage(), nullptr);
        EXPECT_EQ(m_doc.FilePath(), "");
        EXPECT_EQ(m_doc.Title(), "Untitled");
        EXPECT_EQ(EnabledCommands(), "");
    }

    CRecordingHost m_host;
    CTempFolder m_folder;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_boxSeam{m_boxes};
    CViewerDoc m_doc{m_host, m_folder.Path()};
};
}  // namespace

TEST_F(ViewerDocTest, CommandRulesFollowThePageAndItsImage) {
    ExpectEmpty();
    CCmdUI unknown(1234);
    EXPECT_FALSE(m_doc.OnUpdateCommand(unknown));

    OpenNew("one.smh", {100});
    EXPECT_EQ(EnabledCommands(), "save right left half smooth");

    OpenNew("three.smh", {100, 120, 140});
    EXPECT_EQ(EnabledCommands(), "next save right left half smooth");
    ASSERT_TRUE(m_doc.NextPage());
    EXPECT_EQ(EnabledCommands(), "next prev save right left half smooth");
    ASSERT_TRUE(m_doc.NextPage());
    EXPECT_FALSE(m_doc.NextPage());
    EXPECT_EQ(m_doc.CurrentPageNumber(), 3u);
    EXPECT_EQ(EnabledCommands(), "prev save right left half smooth");

    ASSERT_TRUE(m_doc.Rotate(PageRotation::kRight90));
    EXPECT_EQ(EnabledCommands(), "prev undo save right left half smooth");
    ASSERT_TRUE(m_doc.Smooth());
    EXPECT_TRUE(m_doc.CurrentSmoothed());
    EXPECT_EQ(m_doc.ColorCount(), 256);
    EXPECT_EQ(EnabledCommands(), "prev undo");
    EXPECT_FALSE(m_doc.Smooth());
    EXPECT_FALSE(m_doc.Rotate(PageRotation::kLeft90));

    // Undo goes back to the turned page, once.
    ASSERT_TRUE(m_doc.Undo());
    EXPECT_FALSE(m_doc.CurrentSmoothed());
    EXPECT_EQ(m_doc.ImageWidth(), 140);
    EXPECT_EQ(EnabledCommands(), "prev save right left half smooth");
    EXPECT_FALSE(m_doc.Undo());

    // Smoothed pages stay smoothed when the user comes back to them.
    ASSERT_TRUE(m_doc.Smooth());
    ASSERT_TRUE(m_doc.PreviousPage());
    ASSERT_TRUE(m_doc.NextPage());
    EXPECT_EQ(EnabledCommands(), "prev");
    EXPECT_EQ(m_doc.PageCount(), 3u);

    m_doc.DeleteContents();
    ExpectEmpty();
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(ViewerDocTest, APageIsDecodedOnItsFirstVisitAndKept) {
    std::string path = OpenNew("lazy.smh", {100, 120, 140});
    EXPECT_TRUE(m_doc.PageAt(1)->loaded);
    EXPECT_FALSE(m_doc.PageAt(2)->loaded);
    EXPECT_EQ(m_doc.PageImage(2), nullptr);
    EXPECT_EQ(m_doc.PageAt(4), nullptr);
    EXPECT_EQ(m_doc.PageAt(0), nullptr);

    ASSERT_TRUE(m_doc.NextPage());
    const HGLOBAL second = m_doc.CurrentImage();
    EXPECT_EQ(m_doc.ImageHeight(), 120);
    EXPECT_EQ(m_doc.ColorCount(), 2);
    EXPECT_NE(m_doc.Palette(), nullptr);
    EXPECT_EQ(m_doc.PageImage(2), second);

    // A new file under the same name: the visited page is the one already decoded, the others come from it.
    WriteFileBytes(path, SmhBytes({200, 210, 220}, 5));
    ASSERT_TRUE(m_doc.PreviousPage());
    EXPECT_EQ(m_doc.ImageHeight(), 100);
    ASSERT_TRUE(m_doc.NextPage());
    EXPECT_EQ(m_doc.CurrentImage(), second);
    EXPECT_EQ(m_doc.ImageHeight(), 120);
    ASSERT_TRUE(m_doc.NextPage());
    EXPECT_EQ(m_doc.ImageHeight(), 220);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(ViewerDocTest, AFileThatVanishesLeavesItsPageEmptyForGood) {
    std::string path = OpenNew("vanish.smh", {100, 120});
    std::string bytes = ReadFileBytes(path);
    DeleteFileA(path.c_str());
    ASSERT_TRUE(m_doc.NextPage());
    EXPECT_EQ(m_doc.CurrentImage(), nullptr);
    EXPECT_TRUE(m_doc.PageAt(2)->loaded);
    EXPECT_EQ(m_doc.ImageWidth(), 1);
    EXPECT_EQ(EnabledCommands(), "prev");
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, path + " was not found.");

    WriteFileBytes(path, bytes);
    ASSERT_TRUE(m_doc.PreviousPage());
    ASSERT_TRUE(m_doc.NextPage());
    EXPECT_EQ(m_doc.CurrentImage(), nullptr) << "decoded a second time";
    EXPECT_EQ(m_boxes.Calls().size(), 1u);

    // Without an image there is nothing to keep for Undo.
    ASSERT_TRUE(m_doc.ReplaceCurrentImage(TinyDib(8, 8)));
    EXPECT_EQ(m_doc.ImageWidth(), 8);
    EXPECT_FALSE(m_doc.CanUndo());
}

TEST_F(ViewerDocTest, TurnsAreExactAndUndoRestoresTheBytes) {
    OpenNew("turn.smh", {100, 120});
    const std::string original = BlockBytes(m_doc.CurrentImage());
    ASSERT_TRUE(m_doc.Rotate(PageRotation::kRight90));
    EXPECT_EQ(m_doc.ImageWidth(), 100);
    EXPECT_EQ(m_doc.ImageHeight(), 1728);
    const std::string right = BlockBytes(m_doc.CurrentImage());
    ASSERT_TRUE(m_doc.Undo());
    EXPECT_EQ(BlockBytes(m_doc.CurrentImage()), original);

    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(m_doc.Rotate(PageRotation::kRight90));
    EXPECT_EQ(BlockBytes(m_doc.CurrentImage()), original);
    ASSERT_TRUE(m_doc.Rotate(PageRotation::kHalfTurn));
    EXPECT_NE(BlockBytes(m_doc.CurrentImage()), original);
    ASSERT_TRUE(m_doc.Rotate(PageRotation::kLeft90));
    EXPECT_EQ(BlockBytes(m_doc.CurrentImage()), right);

    // The page keeps its turn, but the undo copy is gone once the user pages away.
    ASSERT_TRUE(m_doc.NextPage());
    ASSERT_TRUE(m_doc.PreviousPage());
    EXPECT_EQ(BlockBytes(m_doc.CurrentImage()), right);
    EXPECT_FALSE(m_doc.CanUndo());
}

TEST_F(ViewerDocTest, AnImageWithANegativeSizeIsRefusedWithoutATitle) {
    m_doc.AppendPage(TinyDib(-8, 8));
    EXPECT_EQ(m_doc.CurrentPageNumber(), 1u);
    EXPECT_EQ(m_doc.CurrentImage(), nullptr);
    EXPECT_EQ(m_doc.PageImage(1), nullptr);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "DIB 太大");
    EXPECT_EQ(m_boxes.Calls()[0].caption, "");
    EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_ICONINFORMATION | MB_OK));

    OpenNew("negative.smh", {100});
    ASSERT_TRUE(m_doc.ReplaceCurrentImage(TinyDib(8, -8)));
    EXPECT_EQ(m_doc.CurrentImage(), nullptr);
    EXPECT_EQ(m_boxes.Calls().size(), 2u);
    ASSERT_TRUE(m_doc.Undo());
    EXPECT_EQ(m_doc.ImageHeight(), 100);
}

TEST_F(ViewerDocTest, OnlyAPathWithSmhTextInAnyCaseOpens) {
    const std::string content = SmhBytes({100, 120});
    CreateDirectoryA((m_folder.Path() + "in.Smh").c_str(), nullptr);
    // 丼 and 癕 end in the bytes of 'S' and 'M', which a byte-wise lower-casing would change into other characters.
    for (std::string name : {"X.SMH.bak", "in.Smh\\fax.dat", "丼癕.sMh"}) {
        std::string path = Write(name, content);
        ASSERT_TRUE(m_doc.OnOpenDocument(path)) << name;
        EXPECT_EQ(m_doc.FilePath(), path);
        EXPECT_EQ(m_doc.Title(), name.substr(name.find('\\') + 1));
        EXPECT_EQ(m_host.recent.back(), path);
        EXPECT_EQ(m_doc.PageCount(), 2u);
        // Later pages come from the path as given, not from a lower-cased copy.
        ASSERT_TRUE(m_doc.NextPage());
        EXPECT_EQ(m_doc.ImageHeight(), 120);
    }
    EXPECT_TRUE(m_boxes.Calls().empty());

    m_host.recent.clear();
    for (std::string name : {"fax.dat", "fax.sm", "empty.smh"}) {
        ASSERT_FALSE(m_doc.OnOpenDocument(Write(name, name == "empty.smh" ? "" : content))) << name;
        ExpectEmpty();
    }
    EXPECT_TRUE(m_host.recent.empty());
    ASSERT_EQ(m_boxes.Calls().size(), 3u);
    for (const auto& call : m_boxes.Calls()) {
        EXPECT_EQ(call.text, "这不是有效的SMH文件");
        EXPECT_EQ(call.type, UINT(MB_ICONEXCLAMATION | MB_OK));
    }
}

TEST_F(ViewerDocTest, AFileThatCannotBeOpenedGetsTheFrameworksReportAndEmptiesTheDocument) {
    const std::string locked = Write("locked.smh", SmhBytes({100}));
    const std::string longPath = m_folder.Path() + std::string(259 - m_folder.Path().size() - 4, 'x') + ".smh";
    HANDLE writer = CreateFileA(locked.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const std::pair<std::string, std::string> cases[] = {
        {m_folder.Path(), "Failed to open document."},
        {longPath, longPath + " was not found."},
        {locked, "A sharing violation occurred while accessing " + locked + "."},
    };
    for (const auto& [path, text] : cases) {
        OpenNew("good.smh", {100});
        m_boxes = CScriptedMessageBoxes();
        EXPECT_FALSE(m_doc.OnOpenDocument(path));
        ExpectEmpty();
        ASSERT_EQ(m_boxes.Calls().size(), 1u) << path;
        EXPECT_EQ(m_boxes.Calls()[0].text, text);
        EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_ICONEXCLAMATION | MB_OK));
    }
    CloseHandle(writer);
}

TEST_F(ViewerDocTest, AHeaderPromisingMorePagesThanTheFileHoldsIsListedAsFarAsItCouldGo) {
    const std::string bytes = SmhBytes({100}, 0, 0xFFFFFFFF);
    ASSERT_TRUE(m_doc.OnOpenDocument(Write("liar.smh", bytes)));
    EXPECT_EQ(m_doc.PageCount(), (bytes.size() - 384) / 48);
    while (m_doc.NextPage())
        EXPECT_EQ(m_doc.CurrentImage(), nullptr);
}

TEST_F(ViewerDocTest, SaveAsCopiesTheFileByteForByteAndKeepsTheDocumentsPath) {
    CScriptedCommonDialogs dialogs;
    CScopedSeam<ICommonDialogs> seam(dialogs);
    EXPECT_TRUE(m_doc.OnCommand(ID_FILE_SAVE_AS));
    EXPECT_TRUE(dialogs.SaveCalls().empty()) << "nothing to save";

    const std::string path = OpenNew("source.smh", {100, 120});
    ASSERT_TRUE(m_doc.Rotate(PageRotation::kHalfTurn));
    const std::string target = Write("copy.smh", "older content");
    dialogs.ChooseSaveFile(target);
    EXPECT_TRUE(m_doc.OnCommand(ID_FILE_SAVE_AS));
    EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(path));
    EXPECT_EQ(m_doc.FilePath(), path);
    EXPECT_EQ(m_doc.Title(), "source.smh");
    ASSERT_EQ(dialogs.SaveCalls().size(), 1u);
    const auto& call = dialogs.SaveCalls()[0];
    EXPECT_EQ(call.filter, "Smh Files (*.smh)|*.smh|All Files (*.*)|*.*|");
    EXPECT_EQ(call.defaultExtension, "smh");
    EXPECT_EQ(call.initialFile, "smhfile");
    EXPECT_EQ(call.initialDir, m_folder.Path());
    EXPECT_EQ(call.flags, DWORD(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON));
    EXPECT_TRUE(m_boxes.Calls().empty());

    dialogs.ChooseSaveFile(m_folder.Path() + "no such folder\\copy.smh");
    EXPECT_FALSE(m_doc.SaveAs());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "Failed to save document.");
    EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_ICONEXCLAMATION | MB_OK));

    // Onto itself: refused by the system, and the file stays whole.
    dialogs.ChooseSaveFile(path);
    EXPECT_FALSE(m_doc.SaveAs());
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(target));
    EXPECT_EQ(m_boxes.Calls().size(), 2u);

    EXPECT_FALSE(m_doc.SaveAs()) << "cancelled";
    EXPECT_EQ(m_boxes.Calls().size(), 2u);
}

namespace {
struct ProgressWindow {
    static inline int messages = 0;
    static inline bool enabledDuring = false;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == 2129) {
            ++messages;
            enabledDuring |= IsWindowEnabled(hwnd) != FALSE;
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
};
}  // namespace

TEST_F(ViewerDocTest, SmoothingKeepsTheMainWindowBusyWhileItReportsProgress) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ProgressWindow::Proc;
    wc.lpszClassName = "ViewerDocProgress";
    RegisterClassA(&wc);
    HWND main = CreateWindowExA(0, wc.lpszClassName, "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    m_host.window = main;
    OpenNew("smooth.smh", {300});
    ASSERT_TRUE(m_doc.Smooth());
    EXPECT_GT(ProgressWindow::messages, 0);
    EXPECT_FALSE(ProgressWindow::enabledDuring);
    EXPECT_TRUE(IsWindowEnabled(main));
    m_host.window = nullptr;
    DestroyWindow(main);
}
