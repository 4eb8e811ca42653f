#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/testing/InstalledSettings.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "tools/process/InstalledSpooler.h"
#include "tools/process/ProcessWindows.h"
#include "tools/process/RemoteControl.h"
#include "common/core/SmhWriter.h"
#include "viewer/resource.h"

// A fax sent the way a user sends it, across the real programs: the Viewer opens a fax, Ctrl+F shows the phone
// book of the real Dialdir library inside it, two entries are picked, and the spooler stand-in, started by the
// Viewer from the system folder, takes both copies and leaves the pending send records.
namespace {
constexpr char kSpoolerClass[] = "MiroloKdmsplWnd";

const std::string kBook =
    "陈静,0571-88886666,杭州市文三路 90 号,老客户\r\n"
    "李娜,13912345678,南京市中山路 30 号,\r\n"
    "张伟,010-66668888,北京市海淀区,常联系\r\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A record line's fields; a quoted field may hold commas, and its doubled quotes stand for one.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

class ViewerSendProcessTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_spooler.Installed()) << "an older spooler is installed";
        WriteFileBytes(m_settings.ProgramFolder() + "Addr.csv", kBook);
        const std::vector<uint8_t> fax =
            BuildSmhDocument(MakeSmhHeader(2), {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 200, 3, 11))),
                                                SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 120, 3, 12)))});
        WriteFileBytes(m_document, std::string(fax.begin(), fax.end()));
    }

    CRunningProgram StartViewer() {
        return CRunningProgram::Start("\"" + BuiltProgram("Viewer.exe") + "\" \"" + m_document + "\"");
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    const std::string m_document = m_settings.RecvFolder() + "R20261208091500.smh";
    CInstalledSpooler m_spooler;
};
}  // namespace

TEST_F(ViewerSendProcessTest, TwoDestinationsPickedInThePhoneBookReachTheSpoolerAsTwoSends) {
    const WORD sendFax = ControlKeyCommand(BuiltProgram("Viewer.exe"), IDR_MAINFRAME, 'F');
    ASSERT_NE(sendFax, 0) << "Ctrl+F is in the Viewer's accelerators";

    CRunningProgram viewer = StartViewer();
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = VisibleWindow(viewer.Id(), "查看器 - R20261208091500.smh")); }))
        << "the Viewer shows:" << Showing(viewer.Id());

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(sendFax, 1), 0);
    HWND phoneBook = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (phoneBook = VisibleWindow(viewer.Id(), "电话")); }))
        << "the Viewer shows:" << Showing(viewer.Id());
    HWND list = GetDlgItem(phoneBook, 1005);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3; })) << "the book is listed";

    // The first and the last row, so the destinations come in list order with a row between them left out.
    const std::string firstName = RemoteCell(viewer.Process(), list, 0, 0);
    const std::string firstPhone = RemoteCell(viewer.Process(), list, 0, 1);
    const std::string lastName = RemoteCell(viewer.Process(), list, 2, 0);
    const std::string lastPhone = RemoteCell(viewer.Process(), list, 2, 1);
    ASSERT_FALSE(firstName.empty());
    ASSERT_FALSE(lastName.empty());
    ASSERT_NE(kBook.find(firstName + "," + firstPhone + ","), std::string::npos) << firstName;
    ASSERT_NE(kBook.find(lastName + "," + lastPhone + ","), std::string::npos) << lastName;
    ASSERT_TRUE(RemoteSelect(viewer.Process(), list, 2));
    ASSERT_TRUE(RemoteSelect(viewer.Process(), list, 0));
    ASSERT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    PostMessageA(phoneBook, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(phoneBook, IDOK)));

    // The spooler renames its record file into place only when it is whole.
    const std::string temp = m_settings.TempFolder(), recv = m_settings.RecvFolder();
    std::vector<std::string> records;
    ASSERT_TRUE(WaitUntil([&] { return !(records = FilesMatching(temp, "S*.CSV")).empty(); }))
        << "no send record; the Viewer shows:" << Showing(viewer.Id());
    ASSERT_EQ(records.size(), 1u) << "one record file for the hand-off";
    EXPECT_FALSE(FileExists(recv + "RESEND.TMP")) << "the spooler took the list";
    EXPECT_FALSE(IsWindow(phoneBook));

    const std::vector<std::string> lines = Lines(ReadFileBytes(temp + records[0]));
    ASSERT_EQ(lines.size(), 2u);
    const std::string names[] = {firstName, lastName};
    const std::string phones[] = {firstPhone, lastPhone};
    for (size_t i = 0; i < 2; ++i) {
        const std::vector<std::string> fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 8u) << lines[i];
        EXPECT_EQ(fields[0], names[i]) << "destination " << i << " in list order";
        EXPECT_EQ(fields[1], "OK") << lines[i];
        EXPECT_EQ(fields[4], "2") << "both pages: " << lines[i];
        // The spooler keeps what it read of each copy under the record's own name, byte for byte.
        const std::string kept = fields[6];
        ASSERT_FALSE(kept.empty()) << lines[i];
        const std::string copy = ReadFileBytes(recv + "xmitfax" + std::to_string(i) + ".smh");
        EXPECT_EQ(ReadFileBytes(recv + kept), copy) << kept;
        ASSERT_GE(copy.size(), kSmhFileHeaderSize);
        SmhFileHeader header;
        std::copy_n(copy.begin(), header.raw.size(), header.raw.begin());
        EXPECT_EQ(header.DestNumber(), phones[i]);
        EXPECT_EQ(header.DestName(), names[i]);
    }
    EXPECT_FALSE(FileExists(recv + "xmitfax2.smh"));

    HWND spoolerWindow = FindWindowA(kSpoolerClass, nullptr);
    ASSERT_NE(spoolerWindow, nullptr) << "the spooler keeps running";
    CRunningProgram spooler = CRunningProgram::Of(spoolerWindow);
    HWND jobs = GetDlgItem(spoolerWindow, 1001);
    EXPECT_EQ(SendMessageA(jobs, LB_GETCOUNT, 0, 0), 2) << "both jobs listed";

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(viewer.Ended(20000));
    PostMessageA(spoolerWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(spooler.Ended(20000));
}
