#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instkit/core/SpoolerLists.h"

using namespace instkit;

TEST(SplitNameList, StopsAtTheEmptyNameOrTheBlocksEnd) {
    const char list[] = "A.DLL\0b.hlp\0\0C.DLL";
    const auto names = SplitNameList(list, list + sizeof list);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1], "b.hlp");
    const char unended[] = {'A', '\0', 'B', 'C'};
    const auto cut = SplitNameList(unended, unended + sizeof unended);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1], "BC");
    EXPECT_TRUE(SplitNameList(nullptr, nullptr).empty());
}

TEST(SpoolerLists, PrintersAreFoundWithoutRegardToCase) {
    const std::vector<PrinterView> printers = {{"Office Laser", "PS", "WinPrint"}, {"Fax", "KDM Fax", "KdmProc"}};
    EXPECT_EQ(FindPrinter(printers, "FAX"), 1u);
    EXPECT_FALSE(FindPrinter(printers, "Fax2"));
    const StillUsed used = FindUsers(printers, "kdm fax", "winprint");
    EXPECT_TRUE(used.driver);
    EXPECT_TRUE(used.processor);
    EXPECT_FALSE(FindUsers(printers, "Other", "KdmProc2").driver);

    // A second byte that reads as a letter is part of its character and never folded.
    const std::vector<PrinterView> chinese = {
        {"\x81"
         "a传真",
         "", ""}};
    EXPECT_FALSE(FindPrinter(chinese,
                             "\x81"
                             "A传真"));
    EXPECT_EQ(FindPrinter(chinese,
                          "\x81"
                          "a传真"),
              0u);
}

TEST(SpoolerLists, FilesCountOncePerDriverAndNotForTheIgnoredOne) {
    // The spooler lists some files with their folder: a bare name matches those, a path only itself.
    const std::vector<DriverView> drivers = {
        {"KDM Fax", "KDM Monitor", {"kdmui.dll", "KDMUI.DLL", "kdm.hlp"}},
        {"PS", "", {"C:\\WINDOWS\\SYSTEM\\KdmUi.dll"}},
        {"Bare", "Local Port", {}},
    };
    EXPECT_EQ(CountDriversListing(drivers, "kdmui.DLL", std::nullopt), 2u);
    EXPECT_EQ(CountDriversListing(drivers, "kdmui.dll", std::string_view("kdm fax")), 1u);
    EXPECT_EQ(CountDriversListing(drivers, "kdm.hlp", std::string_view("KDM FAX")), 0u);
    EXPECT_EQ(CountDriversListing(drivers, "", std::nullopt), 0u);
    EXPECT_EQ(CountDriversListing(drivers, "ui.dll", std::nullopt), 0u);
    EXPECT_EQ(CountDriversListing(drivers, "C:\\WINDOWS\\SYSTEM\\kdmui.dll", std::nullopt), 1u);
    EXPECT_EQ(CountDriversListing(drivers, "D:\\kdmui.dll", std::nullopt), 0u);
    EXPECT_TRUE(AnyDriverUsesMonitor(drivers, "kdm monitor", std::nullopt));
    EXPECT_FALSE(AnyDriverUsesMonitor(drivers, "KDM Monitor", std::string_view("KDM Fax")));
}
