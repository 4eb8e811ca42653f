#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/core/AddressRecord.h"
#include "common/testing/DeviceIniScope.h"
#include "framework/Handles.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "common/core/SmhWriter.h"
#include "viewer/PhoneBook.h"
#include "viewer/SendHandOff.h"
#include "common/core/SmhFormat.h"
#include "viewer/resource.h"

namespace {
// The phone book as a caller sees it, answering from a list instead of a person.
class CScriptedPhoneBook : public IPhoneBook {
public:
    std::vector<AddressRecord> chosen;
    int openResult = 0;
    int getResult = 0;
    int OpenPhone(int* count) override {
        if (openResult == 0)
            *count = static_cast<int>(chosen.size());
        return openResult;
    }
    int GetNameandPhone(void* records) override {
        if (getResult == 0)
            memcpy(records, chosen.data(), chosen.size() * sizeof(AddressRecord));
        return getResult;
    }
    void Add(const char* phone, const char* name) {
        AddressRecord record;
        record.Set(phone, name, "", "");
        chosen.push_back(record);
    }
};

// A main window that notes the progress messages it gets.
std::vector<WPARAM> g_progress;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_STATUS_PROGRESS)
        g_progress.push_back(wp);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// These tests look at what the Viewer leaves for the spooler, without one: a spooler installed in the system
// folder by another test would be started without settings and stay behind with its "注册错误" message.
class CSpoolerAside {
public:
    CSpoolerAside() {
        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, sizeof system);
        m_installed = std::string(system) + "\\kdmspl.exe";
        m_aside = m_installed + ".aside";
        m_moved = MoveFileExA(m_installed.c_str(), m_aside.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    ~CSpoolerAside() {
        if (m_moved)
            MoveFileExA(m_aside.c_str(), m_installed.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    CSpoolerAside(const CSpoolerAside&) = delete;
    CSpoolerAside& operator=(const CSpoolerAside&) = delete;

    const std::string& Installed() const { return m_installed; }

private:
    std::string m_installed, m_aside;
    bool m_moved = false;
};

class SendHandOffTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(FileExists(m_noSpooler.Installed())) << "a spooler that cannot be put aside";
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HandOffTestMain";
        RegisterClassA(&wc);
        m_main = CreateWindowExA(0, "HandOffTestMain", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        g_progress.clear();
        const std::vector<uint8_t> fax =
            BuildSmhDocument(MakeSmhHeader(2), {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 120, 3, 1))),
                                                SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 90, 3, 2)))});
        m_faxBytes.assign(fax.begin(), fax.end());
        WriteFileBytes(m_document, m_faxBytes);
    }
    void TearDown() override { DestroyWindow(m_main); }

    static SmhFileHeader Header(const std::string& bytes) {
        SmhFileHeader header;
        std::copy_n(bytes.begin(), header.raw.size(), header.raw.begin());
        return header;
    }

    CSpoolerAside m_noSpooler;
    CTempFolder m_folder;
    const std::string m_recv = m_folder.Path();
    const std::string m_document = m_recv + "R20261207090000.smh";
    std::string m_faxBytes;
    HWND m_main = nullptr;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(SendHandOffTest, EachDestinationGetsItsCopyAndItsLineInOrder) {
    CScriptedPhoneBook book;
    book.Add("010-62345678", "北京华信贸易");
    book.Add("021-58881234", "上海明辉电子");
    book.Add("0571-88886666", "陈静");
    ASSERT_TRUE(SendFax(m_main, m_document, m_recv, book));
    EXPECT_TRUE(m_boxes.Calls().empty());
    EXPECT_EQ(ReadFileBytes(m_recv + "RESEND.TMP"),
              m_recv + "xmitfax0.smh\r\n" + m_recv + "xmitfax1.smh\r\n" + m_recv + "xmitfax2.smh\r\n");
    EXPECT_EQ(g_progress, (std::vector<WPARAM>{33, 66, 100}));
    for (size_t i = 0; i < 3; ++i) {
        const std::string copy = ReadFileBytes(m_recv + "xmitfax" + std::to_string(i) + ".smh");
        ASSERT_EQ(copy.size(), m_faxBytes.size());
        const SmhFileHeader header = Header(copy);
        EXPECT_EQ(header.DocKind(), 2);
        EXPECT_EQ(header.DestNumber(), book.chosen[i].phone);
        EXPECT_EQ(header.DestName(), book.chosen[i].name);
        EXPECT_EQ(copy.substr(kSmhFileHeaderSize), m_faxBytes.substr(kSmhFileHeaderSize)) << "pages untouched";
    }
}

TEST_F(SendHandOffTest, OneDestinationReportsOnlyTheEnd) {
    CScriptedPhoneBook book;
    book.Add("12345678901234567890123456789012", "满");  // a 32-byte number fills its field
    ASSERT_TRUE(SendFax(m_main, m_document, m_recv, book));
    EXPECT_EQ(g_progress, (std::vector<WPARAM>{100}));
    EXPECT_EQ(Header(ReadFileBytes(m_recv + "xmitfax0.smh")).DestNumber(), "12345678901234567890123456789012");
}

TEST_F(SendHandOffTest, PrintWritesOneCopyAndItsPathWithoutALineEnd) {
    ASSERT_TRUE(SendPrint(m_main, m_document, m_recv));
    const std::string list = ReadFileBytes(m_recv + "RESEND.TMP");
    EXPECT_EQ(list, m_recv + "xmitfaxtemp.smh");
    const SmhFileHeader header = Header(ReadFileBytes(m_recv + "xmitfaxtemp.smh"));
    EXPECT_EQ(header.DocKind(), 3);
    EXPECT_EQ(header.DestNumber(), "");
    EXPECT_EQ(header.DestName(), "");
}

TEST_F(SendHandOffTest, NothingHappensWhenThePhoneBookIsClosedOrFails) {
    CScriptedPhoneBook book;
    book.Add("1", "a");
    book.openResult = 1;
    EXPECT_FALSE(SendFax(m_main, m_document, m_recv, book));
    book.openResult = 0;
    book.getResult = 4;
    EXPECT_FALSE(SendFax(m_main, m_document, m_recv, book));
    book.getResult = 3;
    EXPECT_FALSE(SendFax(m_main, m_document, m_recv, book));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "存贮不能解除锁定");
    EXPECT_FALSE(FileExists(m_recv + "RESEND.TMP"));
    EXPECT_FALSE(FileExists(m_recv + "xmitfax0.smh"));
}

TEST_F(SendHandOffTest, AListThatCannotBeWrittenStopsTheJobBeforeTheSpooler) {
    ASSERT_TRUE(CreateDirectoryA((m_recv + "RESEND.TMP").c_str(), nullptr));
    CScriptedPhoneBook book;
    book.Add("1", "a");
    book.Add("2", "b");
    EXPECT_FALSE(SendFax(m_main, m_document, m_recv, book));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 RESEND.TMP");
    EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(g_progress.empty()) << "no spooler, no final progress";
    EXPECT_TRUE(FileExists(m_recv + "xmitfax0.smh")) << "what was made stays";
    EXPECT_FALSE(FileExists(m_recv + "xmitfax1.smh"));
    EXPECT_FALSE(SendPrint(m_main, m_document, m_recv));
}

TEST_F(SendHandOffTest, ADestinationWhoseCopyCannotBeMadeIsSkippedNeverSentAnOlderCopy) {
    // The second destination's older copy is held open by another program: it cannot be replaced.
    WriteFileBytes(m_recv + "xmitfax1.smh", "an older fax for someone else");
    CKernelHandle held(CreateFileA((m_recv + "xmitfax1.smh").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    // A read-only document makes read-only copies no longer.
    SetFileAttributesA(m_document.c_str(), FILE_ATTRIBUTE_READONLY);
    CScriptedPhoneBook book;
    book.Add("1", "a");
    book.Add("2", "b");
    book.Add("3", "c");
    EXPECT_TRUE(SendFax(m_main, m_document, m_recv, book));
    SetFileAttributesA(m_document.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "不能打开文件 xmitfax1.smh");
    EXPECT_EQ(ReadFileBytes(m_recv + "RESEND.TMP"), m_recv + "xmitfax0.smh\r\n" + m_recv + "xmitfax2.smh\r\n");
    EXPECT_EQ(Header(ReadFileBytes(m_recv + "xmitfax2.smh")).DestName(), "c");
    EXPECT_FALSE(GetFileAttributesA((m_recv + "xmitfax0.smh").c_str()) & FILE_ATTRIBUTE_READONLY);
    held.Reset();

    // With no copy at all there is no job.
    held.Reset(CreateFileA((m_recv + "xmitfaxtemp.smh").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_FALSE(SendPrint(m_main, m_document, m_recv));
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].text, "不能打开文件 xmitfaxtemp.smh");
    EXPECT_EQ(ReadFileBytes(m_recv + "RESEND.TMP"), m_recv + "xmitfax0.smh\r\n" + m_recv + "xmitfax2.smh\r\n");
}

TEST_F(SendHandOffTest, ADocumentThatHasGoneIsReportedAsSuchNotAsAFullDisk) {
    DeleteFileA(m_document.c_str());
    CScriptedPhoneBook book;
    book.Add("1", "a");
    EXPECT_FALSE(SendFax(m_main, m_document, m_recv, book));
    EXPECT_FALSE(SendPrint(m_main, m_document, m_recv));
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    for (const MessageBoxCall& call : m_boxes.Calls())
        EXPECT_EQ(call.text, m_document + " was not found.");
    EXPECT_FALSE(FileExists(m_recv + "RESEND.TMP"));
}

TEST_F(SendHandOffTest, WithoutRoomOnTheDriveNothingIsCopied) {
    EXPECT_TRUE(HasRoomForCopies(m_document, m_recv, 1));
    EXPECT_FALSE(HasRoomForCopies(m_document, m_recv, 0xFFFFFFFFu)) << "size × copies is counted in 64 bits";
    EXPECT_FALSE(HasRoomForCopies(m_recv + "missing.smh", m_recv, 1));
    EXPECT_FALSE(HasRoomForCopies(m_document, "\\\\server\\tray\\", 1)) << "no drive letter to ask";

    CScriptedPhoneBook book;
    book.Add("1", "a");
    EXPECT_FALSE(SendFax(m_main, m_document, "\\\\server\\tray\\", book));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "硬盘驱动器剩余空间不够\n 请删除不需要文件后再试一次");
    EXPECT_TRUE(g_progress.empty());
}

TEST_F(SendHandOffTest, WithoutACommonSectionInTheDeviceIniTheCopiesCarryNoStation) {
    // The source names a station of its own, filling both fields, which the copies must not keep.
    SmhFileHeader source = MakeSmhHeader(2);
    source.SetStationNumber(std::string(32, '8'));
    std::string stationName(32, 'S');
    for (int i = 0; i < 16; ++i)
        stationName += "\xD6\xD0";  // 中
    source.SetStationName(stationName);
    const std::vector<uint8_t> fax =
        BuildSmhDocument(source, {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 60, 3, 7)))});
    const std::string sourceBytes(fax.begin(), fax.end());
    WriteFileBytes(m_document, sourceBytes);
    CScriptedPhoneBook book;
    book.Add("010-62345678", "北京华信贸易");
    book.Add("021-58881234", "上海明辉电子");

    const auto expectStation = [&](const std::string& number, const std::string& name, const char* when) {
        for (size_t i = 0; i < 2; ++i) {
            const std::string copy = ReadFileBytes(m_recv + "xmitfax" + std::to_string(i) + ".smh");
            ASSERT_EQ(copy.size(), sourceBytes.size()) << when;
            const SmhFileHeader header = Header(copy);
            EXPECT_EQ(header.StationNumber(), number) << when;
            EXPECT_EQ(header.StationName(), name) << when;
            EXPECT_EQ(header.DestNumber(), book.chosen[i].phone) << when;
            EXPECT_EQ(header.DestName(), book.chosen[i].name) << when;
            if (number.empty()) {
                EXPECT_EQ(copy.substr(146, 32), std::string(32, '\0')) << when << ": the whole number is cleared";
            }
            if (name.empty()) {
                EXPECT_EQ(copy.substr(179, 64), std::string(64, '\0')) << when << ": the whole name is cleared";
            }
            EXPECT_EQ(header.DocKind(), 2) << when;
            EXPECT_EQ(copy.substr(0, 4), sourceBytes.substr(0, 4)) << when;
            EXPECT_EQ(copy.substr(6, 140), sourceBytes.substr(6, 140)) << when << ": the rest of the header stays";
            EXPECT_EQ(copy.substr(kSmhFileHeaderSize), sourceBytes.substr(kSmhFileHeaderSize)) << when;
        }
    };

    CDeviceIniScope ini;
    ini.Write(
        "[COMMON]\r\nProgPath=C:\\LUMENPOST\r\nStationName=华信\r\nStationNumber=010-1\r\n"
        "[PORT]\r\nComPot=LPT1\r\n");
    ASSERT_TRUE(SendFax(m_main, m_document, m_recv, book));
    expectStation("010-1", "华信", "with the station in the file");

    // As Setup leaves the file, less its COMMON section: the ports and the ring count only.
    ini.Write("[PORT]\r\nComPot=LPT1\r\n[WATCHER]\r\nRingCount=3\r\nStationName=elsewhere\r\n");
    ASSERT_TRUE(SendFax(m_main, m_document, m_recv, book));
    expectStation("", "", "without a COMMON section");

    ini.Remove();
    ASSERT_TRUE(SendFax(m_main, m_document, m_recv, book));
    expectStation("", "", "without the file");
    EXPECT_TRUE(m_boxes.Calls().empty());
}
