#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/core/AddressRecord.h"
#include "common/testing/InstalledSettings.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "tools/mh/MhEncoder.h"
#include "tools/mh/SamplePages.h"
#include "tools/process/ProcessWindows.h"
#include "tools/smh/SmhWriter.h"
#include "viewer/PhoneBook.h"
#include "viewer/SendHandOff.h"

// The hand-off against the real spooler stand-in, started from the system folder as the device software is.
namespace {
class CTwoDestinations : public IPhoneBook {
public:
    CTwoDestinations() {
        m_records[0].Set("010-62345678", "北京华信贸易", "", "");
        m_records[1].Set("021-58881234", "上海明辉电子", "", "");
    }
    int OpenPhone(int* count) override {
        *count = 2;
        return 0;
    }
    int GetNameandPhone(void* records) override {
        memcpy(records, m_records, sizeof m_records);
        return 0;
    }

private:
    AddressRecord m_records[2];
};

std::string SpoolerInSystemFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    const std::string built = self.substr(0, self.find_last_of('\\') + 1) + "kdmspl.exe";
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string installed = std::string(system) + "\\kdmspl.exe";
    CopyFileA(built.c_str(), installed.c_str(), FALSE);
    return installed;
}

std::vector<std::string> RecordsIn(const std::string& folder) {
    std::vector<std::string> found;
    for (const std::string& name : FilesMatching(folder, "S*.CSV"))
        found.push_back(ReadFileBytes(folder + name));
    return found;
}

// The stand-in's process, found by its window's caption.
DWORD SpoolerProcess() {
    HWND window = FindWindowA(nullptr, "KDM-540 发送队列");
    DWORD pid = 0;
    if (window)
        GetWindowThreadProcessId(window, &pid);
    return pid;
}
}  // namespace

TEST(SpoolerHandOff, ASentFaxReachesTheSpoolerWhichLeavesASendRecordPerDestination) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    ASSERT_TRUE(FileExists(SpoolerInSystemFolder()));
    const std::vector<uint8_t> fax =
        BuildSmhDocument(MakeSmhHeader(1), {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 150, 3, 4)))});
    const std::string document = settings.RecvFolder() + "R20261207100000.smh";
    WriteFileBytes(document, std::string(fax.begin(), fax.end()));

    CScriptedMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);
    CTwoDestinations phoneBook;
    ASSERT_TRUE(SendFax(nullptr, document, settings.RecvFolder(), phoneBook));
    EXPECT_TRUE(boxes.Calls().empty());

    std::vector<std::string> records;
    for (int i = 0; i < 100 && records.empty(); ++i, Sleep(50))
        records = RecordsIn(settings.TempFolder());
    ASSERT_EQ(records.size(), 1u) << "one record file for the hand-off";
    const std::string& lines = records[0];
    EXPECT_NE(lines.find("北京华信贸易"), std::string::npos) << lines;
    EXPECT_NE(lines.find("上海明辉电子"), std::string::npos) << lines;
    EXPECT_NE(lines.find("OK"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("ERROR"), std::string::npos) << lines;
    EXPECT_TRUE(FileExists(settings.RecvFolder() + "xmitfax1.smh")) << "the Viewer's copies stay";

    if (const DWORD pid = SpoolerProcess()) {
        PROCESS_INFORMATION spooler{};
        spooler.dwProcessId = pid;
        spooler.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
        EndProgram(spooler, 10000);
        CloseHandle(spooler.hProcess);
    }
}
