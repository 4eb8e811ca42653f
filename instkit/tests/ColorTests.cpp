#include <windows.h>
#include <icm.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/testing/TempFolder.h"
#include "instkit/ColorProfiles.h"
#include "instkit/Instkit.h"
#include "instkit/tests/InstkitDll.h"
#include "instkit/tests/PrinterTesting.h"

// Colour profiles of a printer: installed and associated, passed on to GDI, and disassociated when the printer
// is uninstalled.
namespace {
constexpr char kPrinter[] = "Instkit Colour Printer";
constexpr char kProfile[] = "instkit-gray.icm";
constexpr char kAssociations[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ICM\\prtr";

void Put32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

std::string Padded(std::string tag) {
    tag.resize((tag.size() + 3) & ~size_t{3}, '\0');
    return tag;
}

// A gray printer profile, ICC version 2.1: description, white point, copyright and gray curve.
std::string GrayPrinterProfile() {
    std::string desc = "desc" + std::string(4, '\0');
    Put32(desc, 17);
    desc += std::string("Instkit gray test") + '\0';
    desc += std::string(8 + 3 + 67, '\0');
    std::string white = "XYZ " + std::string(4, '\0');
    Put32(white, 0xF6D6);  // D50 as s15Fixed16
    Put32(white, 0x10000);
    Put32(white, 0xD32D);
    const std::string copyright = "text" + std::string(4, '\0') + "No copyright, test data" + '\0';
    std::string curve = "curv" + std::string(4, '\0');
    Put32(curve, 1);
    curve += std::string("\x01\x00", 2);  // gamma 1.0
    const std::pair<const char*, std::string> tags[] = {
        {"desc", Padded(desc)}, {"wtpt", white}, {"cprt", Padded(copyright)}, {"kTRC", Padded(curve)}};

    std::string table;
    std::string body;
    Put32(table, 4);
    const uint32_t start = 128 + 4 + 12 * 4;
    for (const auto& [signature, data] : tags) {
        table += signature;
        Put32(table, start + static_cast<uint32_t>(body.size()));
        Put32(table, static_cast<uint32_t>(data.size()));
        body += data;
    }
    std::string header;
    Put32(header, static_cast<uint32_t>(128 + table.size() + body.size()));
    header += std::string(4, '\0');
    Put32(header, 0x02100000);
    header += "prtrGRAYXYZ ";
    header += std::string("\x07\xEA\x00\x01\x00\x01", 6) + std::string(6, '\0');  // 2026-01-01
    header += "acspMSFT" + std::string(4 + 4 + 4 + 8 + 4, '\0');
    Put32(header, 0xF6D6);
    Put32(header, 0x10000);
    Put32(header, 0xD32D);
    header += std::string(4 + 16 + 28, '\0');
    return header + table + body;
}

std::string ColorFolder() {
    char folder[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    GetColorDirectoryA(nullptr, folder, &size);
    return folder;
}

bool IsAssociated() {
    return RegGetValueA(HKEY_LOCAL_MACHINE, kAssociations, kProfile, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

class ColorTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareTestDriver()); }
    void SetUp() override {
        m_profile = m_folder.Path() + kProfile;
        WriteFileBytes(m_profile, GrayPrinterProfile());
    }
    void TearDown() override {
        RemoveTestPrinter(kPrinter);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kAssociations, kProfile);
        DeleteFileA((ColorFolder() + "\\" + kProfile).c_str());
    }
    CTempFolder m_folder;
    std::string m_profile;
};
}  // namespace

TEST_F(ColorTest, AProfileIsInstalledAssociatedAndDisassociatedWithItsPrinter) {
    // The profile is one colour management takes for real.
    PROFILE file{PROFILE_FILENAME, m_profile.data(), static_cast<DWORD>(m_profile.size() + 1)};
    HPROFILE opened = OpenColorProfileA(&file, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_TRUE(opened);
    BOOL valid = FALSE;
    EXPECT_TRUE(IsColorProfileValid(opened, &valid));
    EXPECT_TRUE(valid);
    CloseColorProfile(opened);

    ASSERT_NE(InstallTestPrinter(kPrinter, {}), 0u);
    EXPECT_NE(Instkit().UpdateICMInfo(kPrinter, m_profile.c_str(), 1), 0u);
    EXPECT_TRUE(FileExists(ColorFolder() + "\\" + kProfile));
    EXPECT_TRUE(IsAssociated());

    EXPECT_EQ(Instkit().UnInstallPrinter(kPrinter, nullptr) & INSTKIT_PRINTER_DELETED,
              static_cast<DWORD>(INSTKIT_PRINTER_DELETED));
    EXPECT_FALSE(IsAssociated());
    EXPECT_TRUE(FileExists(ColorFolder() + "\\" + kProfile));  // the profile itself stays installed
}

TEST_F(ColorTest, OtherCommandsGoToGdiEvenWhereColourManagementExists) {
    // Colour management's uninstall would take the installed file away; GDI's registration keeps it.
    ASSERT_NE(Instkit().UpdateICMInfo(kPrinter, m_profile.c_str(), 1), 0u);
    const std::string installed = ColorFolder() + "\\" + kProfile;
    EXPECT_NE(Instkit().UpdateICMInfo(kPrinter, installed.c_str(), 2), 0u);
    EXPECT_TRUE(FileExists(installed));
    // Without GDI's function there is nothing to call, though colour management is there.
    EXPECT_EQ(instkit::UpdateColorInfo({"MSCMS.DLL", "KERNEL32.DLL"}, kPrinter, installed.c_str(), 2), 0u);
}

TEST_F(ColorTest, MissingColourFunctionsReportZeroAndChangeNothing) {
    EXPECT_EQ(instkit::UpdateColorInfo({"KERNEL32.DLL", "GDI32.DLL"}, kPrinter, m_profile.c_str(), 1), 0u);
    EXPECT_FALSE(FileExists(ColorFolder() + "\\" + kProfile));
    EXPECT_EQ(instkit::UpdateColorInfo({"instkit-none.dll", "instkit-none.dll"}, kPrinter, m_profile.c_str(), 1), 0u);
    // Without colour management, adding falls to GDI's registration.
    EXPECT_NE(instkit::UpdateColorInfo({"instkit-none.dll", "GDI32.DLL"}, kPrinter, m_profile.c_str(), 1), 0u);

    ASSERT_NE(Instkit().UpdateICMInfo(kPrinter, m_profile.c_str(), 1), 0u);
    instkit::DisassociatePrinterProfiles({"KERNEL32.DLL", "GDI32.DLL"}, kPrinter);
    EXPECT_TRUE(IsAssociated());
}
