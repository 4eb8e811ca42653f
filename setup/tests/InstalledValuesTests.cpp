#include <gtest/gtest.h>

#include "setup/core/InstalledValues.h"
#include "setup/core/UninstallRecord.h"
#include "setup/tests/SetupTesting.h"

using namespace setup;

namespace {

TEST(Kdm540Ini, FolderKeysUpperCaseWithoutBackslashAndThePort) {
    auto values = Kdm540IniValues("C:\\Program Files\\LUMENPOST", 2);
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values[1].value, "C:\\Program Files\\LUMENPOST\\TRAY");
    EXPECT_EQ(values[3].key, "TempPath");
    EXPECT_EQ(values[4].section, "PORT");
    EXPECT_EQ(values[4].value, "LPT2");
    EXPECT_EQ(values[5].value, "3");
}

TEST(ProfileEdits, PrinterEntriesForThePortAndTheFolderEntry) {
    auto edits = ResolveProfileEdits(TypicalFolders(), 2);
    ASSERT_EQ(edits.size(), 4u);
    EXPECT_EQ(edits[0].value, "863");
    EXPECT_FALSE(edits[0].broadcast);
    EXPECT_EQ(edits[1].section, "PrinterPorts");
    EXPECT_EQ(edits[1].value, "KDMFX,LPT2,15,45");
    EXPECT_EQ(edits[2].value, "KDMFX,LPT2:");
    EXPECT_TRUE(edits[2].broadcast && edits[2].broadcastSection);
    EXPECT_EQ(edits[3].kind, kProfilePrinterFolder);
    EXPECT_EQ(edits[3].key, "LUMENPOST Fax");
    EXPECT_EQ(edits[3].value, "C:\\windows\\system32\\KDMFX.DRV");
    EXPECT_TRUE(edits[3].broadcast && !edits[3].broadcastSection);
}

TEST(RegistryValues, SettingsEndInBackslashAndTheCommandQuotesOnlyTheDocument) {
    auto values = RegistryValues("C:\\Program Files\\LUMENPOST");
    ASSERT_EQ(values.size(), 15u);
    EXPECT_EQ(values[0].name, "PROGRAM_DIR");
    EXPECT_EQ(values[0].data, "C:\\Program Files\\LUMENPOST\\");
    EXPECT_EQ(values[1].data, "C:\\Program Files\\LUMENPOST\\tray\\");
    EXPECT_EQ(values[3].data, "C:\\Program Files\\LUMENPOST\\Temp\\");
    EXPECT_TRUE(values[6].binary);
    EXPECT_EQ(values[6].data, std::string(4, '\0'));
    EXPECT_EQ(values[9].data, "C:\\Program Files\\LUMENPOST\\Viewer.exe \"%1\"");
    EXPECT_EQ(values[10].data, "[open(\"%1\")]");
    EXPECT_EQ(values[12].data, "C:\\Program Files\\LUMENPOST\\REMOVER.EXE /R");
    EXPECT_EQ(values[12].root, kLocalMachine);
    EXPECT_EQ(values[13].subkey, ".smh");
    EXPECT_EQ(values[14].data, "Viewer.Document");
}

}  // namespace
