#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/core/AddressRecord.h"
#include "common/testing/InstalledSettings.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "tools/process/InstalledSpooler.h"
#include "common/core/SmhWriter.h"
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

std::vector<std::string> RecordsIn(const std::string& folder) {
    std::vector<std::string> found;
    for (const std::string& name : FilesMatching(folder, "S*.CSV"))
        found.push_back(ReadFileBytes(folder + name));
    return found;
}
}  // namespace

TEST(SpoolerHandOff, ASentFaxReachesTheSpoolerWhichLeavesASendRecordPerDestination) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    CInstalledSpooler spooler;
    ASSERT_TRUE(spooler.Installed());
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
}
