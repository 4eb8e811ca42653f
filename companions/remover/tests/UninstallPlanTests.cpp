#include <gtest/gtest.h>

#include "companions/remover/core/UninstallPlan.h"
#include "setup/core/InstallPaths.h"
#include "setup/tests/SetupTesting.h"

using namespace remover;
using setup::UninstallRecord;

namespace {

UninstallRecord Folder(std::string path) {
    return {setup::kUninstallFolder, std::move(path), {}, 0, {}};
}

TEST(UninstallPlan, TheDataSetupStoresComesBackWholeAndEveryRecordIsUsable) {
    const auto values = setup::EncodeUninstallValues(setup::BuildUninstallRecords(TypicalFolders()));
    ASSERT_TRUE(values);
    const UninstallData read = ReadUninstallData(values->info, values->data);
    EXPECT_EQ(read.fault, DataFault::kNone);
    ASSERT_EQ(read.records.size(), 45u);
    for (const UninstallRecord& record : read.records)
        EXPECT_TRUE(IsUsableRecord(record)) << record.type << " " << record.path;

    // Bytes after the counted records are not records.
    std::vector<uint8_t> longer = values->data;
    longer.resize(longer.size() + 100, 0xEE);
    EXPECT_EQ(ReadUninstallData(values->info, longer).records.size(), 45u);
}

TEST(UninstallPlan, DamagedValuesGiveTheirFaultAndNoRecords) {
    const auto values = setup::EncodeUninstallValues(setup::BuildUninstallRecords(TypicalFolders()));
    ASSERT_TRUE(values);
    EXPECT_EQ(ReadUninstallData({}, values->data).fault, DataFault::kNoCount);
    EXPECT_EQ(ReadUninstallData({45}, values->data).fault, DataFault::kNoCount);
    EXPECT_EQ(ReadUninstallData(std::vector<uint8_t>(10, 0), values->data).fault, DataFault::kNoRecords);

    // One byte short of the last record, and a count far beyond the data.
    std::vector<uint8_t> cut(values->data.begin(), values->data.end() - 1);
    UninstallData read = ReadUninstallData(values->info, cut);
    EXPECT_EQ(read.fault, DataFault::kCountBeyondData);
    EXPECT_TRUE(read.records.empty());
    read = ReadUninstallData({0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}, values->data);
    EXPECT_EQ(read.fault, DataFault::kCountBeyondData);
    EXPECT_TRUE(read.records.empty());
    EXPECT_EQ(ReadUninstallData(values->info, {}).fault, DataFault::kCountBeyondData);
}

TEST(UninstallPlan, RecordsThatCouldRemoveTooMuchAreRefused) {
    // Folder contents are removed recursively: a damaged record must never reach a drive, a share or a parent.
    for (const char* path :
         {"C:\\", "C:", "C:\\\\", "C:/", "\\\\server\\share", "\\\\server\\share\\", "\\\\server", "LUMENPOST\\LOG",
          "\\LUMENPOST", "C:\\LUMENPOST\\..", "C:\\LUMENPOST\\..\\", "C:\\.\\", "", "1:\\x"})
        EXPECT_FALSE(IsUsableRecord(Folder(path))) << path;
    for (const char* path : {"C:\\LUMENPOST\\LOG", "C:\\LUMENPOST\\", "d:/LUMENPOST", "\\\\server\\share\\LUMENPOST",
                             "C:\\a..b", "C:\\程序\\传真"})
        EXPECT_TRUE(IsUsableRecord(Folder(path))) << path;
    // A double-byte name whose trail byte is 0x5C is a name, not a separator before "..".
    EXPECT_TRUE(IsUsableRecord(Folder("C:\\x\\\x95\\..")));

    EXPECT_FALSE(IsUsableRecord({setup::kUninstallFile, "VIEWER.EXE", {}, 0, {}}));
    EXPECT_FALSE(IsUsableRecord({7, "C:\\LUMENPOST\\VIEWER.EXE", {}, 0, {}}));
    EXPECT_FALSE(IsUsableRecord({0, "", {}, 0, {}}));
    EXPECT_FALSE(IsUsableRecord({setup::kUninstallIniSection, "", {}, 0, {}}));
    EXPECT_FALSE(IsUsableRecord({setup::kUninstallIniEntry, "C:\\windows\\win.ini", "", 0, "LUMENPOST Fax"}));
    EXPECT_TRUE(IsUsableRecord({setup::kUninstallIniEntry, "C:\\windows\\win.ini", "LUMENPOST Fax", 0, ""}));
    EXPECT_FALSE(IsUsableRecord({setup::kUninstallRegistryKey, "", {}, setup::kCurrentUser, {}}))
        << "an empty subkey would be the whole root";
    EXPECT_FALSE(IsUsableRecord({setup::kUninstallRegistryKey, "\\Software", {}, setup::kCurrentUser, {}}));
    EXPECT_FALSE(IsUsableRecord({setup::kUninstallRegistryKey, ".smh", {}, 0x80000003u, {}}));
    EXPECT_TRUE(IsUsableRecord({setup::kUninstallRegistryKey, ".smh", {}, setup::kClassesRoot, {}}));
}

TEST(UninstallPlan, TheUsersFilesAreTheCsvAndSmhFilesInAnyCase) {
    for (const char* name : {"ADDR.CSV", "Addr.csv", "RECEIVE.CSV", "send.Csv", "R20240105093000.smh", "传真.SMH"})
        EXPECT_TRUE(IsUserDataFile(name)) << name;
    for (const char* name : {"VIEWER.EXE", "FAXPRINT.PRN", "csv", ".csv", "a.csvx", "a.csv.bak", "MIROLO.GID"})
        EXPECT_FALSE(IsUserDataFile(name)) << name;
}

TEST(UninstallPlan, FolderPartsSplitOnlyAtWholeSeparators) {
    EXPECT_EQ(FolderOf("C:\\Program Files\\LUMENPOST\\REMOVER.EXE"), "C:\\Program Files\\LUMENPOST");
    EXPECT_EQ(FolderOf("C:\\LUMENPOST\\\x95\\"), "C:\\LUMENPOST") << "0x95 0x5C is one character";
    EXPECT_EQ(FolderOf("REMOVER.EXE"), "");
    EXPECT_EQ(WithoutTrailingSeparators("C:\\LUMENPOST\\\\"), "C:\\LUMENPOST");
    EXPECT_EQ(WithoutTrailingSeparators("C:\\LUMENPOST\\\x95\\"), "C:\\LUMENPOST\\\x95\\");
    EXPECT_EQ(WithoutTrailingSeparators("C:\\LUMENPOST"), "C:\\LUMENPOST");
}

}  // namespace
