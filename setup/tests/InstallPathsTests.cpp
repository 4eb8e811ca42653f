#include <gtest/gtest.h>

#include "setup/core/InstallPaths.h"
#include "setup/tests/SetupTesting.h"

using namespace setup;

namespace {

const InstallFileEntry& Row(size_t i) {
    return kInstallFiles[i];
}

TEST(InstallTable, HoldsItsRowsAndEndsWithDiskZero) {
    size_t rows = 0;
    while (kInstallFiles[rows].disk != 0)
        ++rows;
    EXPECT_EQ(rows, kInstallFileCount);
    EXPECT_STREQ(Row(0).installedName, "VIEWER.EXE");
    EXPECT_STREQ(Row(32).sourceName, "KDMLPT.VX_");
    // The same program twice, the second keeping what the first placed; both make a shortcut.
    EXPECT_STREQ(Row(1).installedName, Row(2).installedName);
    EXPECT_TRUE(Row(2).keep && !Row(1).keep);
    EXPECT_EQ(kProfileEdits[kProfileEditCount].kind, kProfileEnd);
}

TEST(InstallPaths, DestinationAndSourceFollowTheFolderCode) {
    FolderVars vars = TypicalFolders();
    RowPaths viewer = ResolveRow(Row(0), vars);
    EXPECT_EQ(viewer.destination, "C:\\Program Files\\LUMENPOST\\VIEWER.EXE");
    EXPECT_EQ(viewer.source, "D:\\LUMENPOST\\Disk1\\VIEWER.EX_");

    RowPaths log = ResolveRow(Row(9), vars);
    EXPECT_EQ(log.folder, "C:\\Program Files\\LUMENPOST\\LOG");
    EXPECT_TRUE(log.destination.empty());
    EXPECT_EQ(ResolveRow(Row(11), vars).destination, "C:\\Program Files\\LUMENPOST\\LOG\\RECEIVE.CSV");
    EXPECT_EQ(ResolveRow(Row(14), vars).folder, "C:\\windows\\Twain_32\\ORVEX");
    EXPECT_EQ(ResolveRow(Row(15), vars).destination, "C:\\windows\\Twain_32\\ORVEX\\KDMTW.DS");
    EXPECT_EQ(ResolveRow(Row(20), vars).destination, "C:\\windows\\system32\\KDMSPL.EXE");
    EXPECT_EQ(ResolveRow(Row(24), vars).destination, "C:\\windows\\TWAIN_32.DLL");

    // A plain row is copied under its installed name.
    InstallFileEntry plain = Row(7);
    plain.compressed = 0;
    EXPECT_EQ(ResolveRow(plain, vars).source, "D:\\LUMENPOST\\Disk1\\MIROLO.GID");
}

TEST(InstallPaths, FolderChainCreatesEachLevelOnce) {
    EXPECT_EQ(FolderChain("C:\\Program Files\\LUMENPOST\\LOG"),
              (std::vector<std::string>{"C:\\Program Files", "C:\\Program Files\\LUMENPOST",
                                        "C:\\Program Files\\LUMENPOST\\LOG"}));
    EXPECT_EQ(FolderChain("D:\\"), std::vector<std::string>{});
    EXPECT_EQ(FolderChain("\\\\server\\share\\x"),
              (std::vector<std::string>{"\\\\server", "\\\\server\\share", "\\\\server\\share\\x"}));
}

TEST(InstallPaths, ShortcutsInGroupDesktopStartupOrder) {
    FolderVars vars = TypicalFolders();
    auto launcher = RowShortcuts(Row(3), vars);
    ASSERT_EQ(launcher.size(), 2u);
    EXPECT_EQ(launcher[0].file, "C:\\users\\li\\Start Menu\\Programs\\LUMENPOST\\主菜单.lnk");
    EXPECT_EQ(launcher[1].file, "C:\\users\\li\\Desktop\\主菜单.lnk");
    auto watcher = RowShortcuts(Row(5), vars);
    ASSERT_EQ(watcher.size(), 2u);
    EXPECT_EQ(watcher[1].file, "C:\\users\\li\\Start Menu\\Programs\\Startup\\自动接收.lnk");
    EXPECT_TRUE(RowShortcuts(Row(8), vars).empty());
}

TEST(Macros, ExpandNamesInOrderAndStopAtAnUnknownOne) {
    FolderVars vars = TypicalFolders();
    EXPECT_EQ(ExpandMacros(Row(1).argumentTemplate, vars), "\"C:\\Program Files\\LUMENPOST\\Log\\Receive.csv\"");
    EXPECT_EQ(ExpandMacros("%DrvPath|%Tw32Path|%Tw16Path|%%|%ExecPath", vars),
              "C:\\windows\\system32\\DRIVERS|C:\\windows\\Twain_32|C:\\windows\\TWAIN|%|D:\\LUMENPOST\\Disk1");
    EXPECT_EQ(ExpandMacros("%MenuPath\\%InstGrp", vars), "C:\\users\\li\\Start Menu\\Programs\\LUMENPOST");
    EXPECT_EQ(ExpandMacros("before %Nothing after", vars), "before ");
    EXPECT_EQ(ExpandMacros("trailing %", vars), "trailing ");
    // Names are matched by prefix, the first in the list winning; the rest of the word stays.
    EXPECT_EQ(ExpandMacros("%WinPathX", vars), "C:\\windowsX");
}

TEST(DiskSwitch, ReplacesTheCurrentDiskSuffixByLength) {
    EXPECT_EQ(SwitchDiskFolder("D:\\LUMENPOST\\Disk1", 1, 2), "D:\\LUMENPOST\\Disk2");
    EXPECT_EQ(SwitchDiskFolder("D:\\LUMENPOST\\Disk2", 2, 1), "D:\\LUMENPOST\\Disk1");
    // Not named Disk1: the last five characters are replaced all the same.
    EXPECT_EQ(SwitchDiskFolder("D:\\setup", 1, 2), "D:\\Disk2");
    EXPECT_EQ(SwitchDiskFolder("D:\\x\\Disk10", 10, 2), "D:\\x\\Disk2");
    EXPECT_EQ(SwitchDiskFolder("A:", 1, 2), "Disk2");
}

TEST(PathLimits, RefuseFoldersThatWouldOverflowAField) {
    FolderVars vars = TypicalFolders();
    EXPECT_FALSE(TooLongPath(vars));
    vars.install = "C:\\" + std::string(100, 'x');
    EXPECT_FALSE(TooLongPath(vars));
    // The launcher's uninstall record would no longer fit its 127 characters.
    vars.install = "C:\\" + std::string(115, 'x');
    auto tooLong = TooLongPath(vars);
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(*tooLong, vars.install + "\\LAUNCHER.EXE");
    vars = TypicalFolders();
    vars.group = std::string(80, 'g');
    EXPECT_TRUE(TooLongPath(vars));
    vars = TypicalFolders();
    vars.source = "D:\\" + std::string(250, 's');
    EXPECT_TRUE(TooLongPath(vars));
    EXPECT_EQ(TrimFolder("C:\\Program Files\\X\\\\"), "C:\\Program Files\\X");
    EXPECT_EQ(TrimFolder("D:\\"), "D:\\");
}

}  // namespace
