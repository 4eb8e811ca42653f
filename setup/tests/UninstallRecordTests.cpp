#include <gtest/gtest.h>

#include "setup/core/UninstallRecord.h"
#include "setup/tests/SetupTesting.h"

using namespace setup;

namespace {

TEST(UninstallData, ShippedTablesGiveFortyFiveRecordsInOrder) {
    auto records = BuildUninstallRecords(TypicalFolders());
    ASSERT_EQ(records.size(), 45u);
    EXPECT_EQ(records.front().type, kUninstallFile);
    EXPECT_EQ(records.front().path, "C:\\Program Files\\LUMENPOST\\VIEWER.EXE");
    EXPECT_EQ(records[8].type, kUninstallFolder);  // LOG, after the eight program rows
    EXPECT_EQ(records[8].path, "C:\\Program Files\\LUMENPOST\\LOG");
    // Shortcuts follow the 26 rows: the launcher's group then desktop, the monitor's group then Startup.
    EXPECT_EQ(records[26].path, "C:\\users\\li\\Start Menu\\Programs\\LUMENPOST\\查看.lnk");
    EXPECT_EQ(records[29].path, "C:\\users\\li\\Start Menu\\Programs\\LUMENPOST\\主菜单.lnk");
    EXPECT_EQ(records[30].path, "C:\\users\\li\\Desktop\\主菜单.lnk");
    EXPECT_EQ(records[32].path, "C:\\users\\li\\Start Menu\\Programs\\LUMENPOST\\自动接收.lnk");
    EXPECT_EQ(records[33].path, "C:\\users\\li\\Start Menu\\Programs\\Startup\\自动接收.lnk");
    EXPECT_EQ(records[35].type, kUninstallFolder);
    EXPECT_EQ(records[35].path, "C:\\users\\li\\Start Menu\\Programs\\LUMENPOST");
    EXPECT_EQ(records[36].type, kUninstallIniSection);
    EXPECT_EQ(records[36].path, "LUMENPOST Fax");
    EXPECT_EQ(records[39].type, kUninstallIniEntry);
    EXPECT_EQ(records[39].section, "LUMENPOST Fax");
    EXPECT_EQ(records[39].key, "");
    EXPECT_EQ(records[40].path, "C:\\windows\\KDM540.INI");
    EXPECT_EQ(records.back().type, kUninstallRegistryKey);
    EXPECT_EQ(records.back().root, kCurrentUser);
    EXPECT_EQ(records.back().path, "Software\\Orvex\\mirolo");
    for (const auto& record : records) {
        // Data files and the TWAIN manager files survive an uninstall.
        EXPECT_EQ(record.path.find("CSV"), std::string::npos) << record.path;
        EXPECT_EQ(record.path.find("TWAIN_32.DLL"), std::string::npos);
    }
}

TEST(UninstallData, EncodesTheFixedLayoutByteForByte) {
    auto values = EncodeUninstallValues(BuildUninstallRecords(TypicalFolders()));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->info, (std::vector<uint8_t>{45, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(values->data.size(), 8460u);
    EXPECT_GE(UninstallCapacity(), 45u);

    const uint8_t* entry = values->data.data() + 37 * kUninstallRecordSize;  // Devices / LUMENPOST Fax
    EXPECT_EQ(entry[0], 4);
    EXPECT_STREQ(reinterpret_cast<const char*>(entry + 2), "C:\\windows\\win.ini");
    EXPECT_STREQ(reinterpret_cast<const char*>(entry + 130), "Devices");
    EXPECT_STREQ(reinterpret_cast<const char*>(entry + 160), "LUMENPOST Fax");
    const uint8_t* key = values->data.data() + 41 * kUninstallRecordSize;  // the uninstall registration
    EXPECT_EQ(key[0], 2);
    EXPECT_EQ((std::vector<uint8_t>(key + 156, key + 160)), (std::vector<uint8_t>{2, 0, 0, 0x80}));
    // Unused bytes are zero: nothing of an earlier, longer text lingers.
    const uint8_t* file = values->data.data();
    for (size_t i = 2 + 39; i < kUninstallRecordSize; ++i)
        ASSERT_EQ(file[i], 0) << i;

    auto decoded = DecodeUninstallValues(values->info, values->data);
    ASSERT_EQ(decoded.size(), 45u);
    EXPECT_EQ(decoded[37].section, "Devices");
    EXPECT_EQ(decoded[44].root, kCurrentUser);
}

TEST(UninstallData, RefusesTextsLongerThanTheirFieldsAndReadsDamagedValuesSafely) {
    uint8_t record[kUninstallRecordSize];
    EXPECT_TRUE(EncodeUninstallRecord({kUninstallFile, std::string(127, 'p'), {}, 0, {}}, record));
    EXPECT_FALSE(EncodeUninstallRecord({kUninstallFile, std::string(128, 'p'), {}, 0, {}}, record));
    EXPECT_FALSE(EncodeUninstallRecord({kUninstallIniEntry, "w", std::string(30, 's'), 0, "k"}, record));
    EXPECT_FALSE(EncodeUninstallRecord({kUninstallIniEntry, "w", "s", 0, std::string(28, 'k')}, record));

    // Unterminated fields read up to the field's end; a count beyond the data reads the whole records only.
    std::vector<uint8_t> data(kUninstallRecordSize * 2 + 5, 'x');
    data[0] = 4;
    data[1] = 0;
    auto records = DecodeUninstallValues({200, 0}, data);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].path.size(), 128u);
    EXPECT_EQ(records[0].section.size(), 30u);
    EXPECT_EQ(records[0].key.size(), 28u);
    EXPECT_TRUE(DecodeUninstallValues({}, data).empty());
}

}  // namespace
