#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Profile.h"

namespace {
class ProfileTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\MiroloTest"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\MiroloTest"); }
};

bool KeyExists(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
}  // namespace

TEST_F(ProfileTest, ReadingCreatesTheMissingLevelsAndGivesTheDefault) {
    CRegistryProfile profile("MiroloTest", "prof");
    EXPECT_EQ(profile.GetString("Settings", "ABSENT", "dflt"), "dflt");
    EXPECT_TRUE(KeyExists("Software\\MiroloTest\\prof\\Settings"));
}

TEST_F(ProfileTest, WritesAndReadsBackMultiByteText) {
    CRegistryProfile profile("MiroloTest", "prof");
    ASSERT_TRUE(profile.WriteString("Recent File List", "File1", "C:\\传真\\a.smh"));
    EXPECT_EQ(profile.GetString("Recent File List", "File1"), "C:\\传真\\a.smh");
}

TEST_F(ProfileTest, AValueStoredWithoutTerminatorIsReadWhole) {
    CRegistryProfile profile("MiroloTest", "prof");
    profile.GetString("S", "x");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\MiroloTest\\prof\\S", 0, KEY_WRITE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "V", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    RegSetValueExA(key, "N", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\1\0\0\0"), 4);
    RegCloseKey(key);
    EXPECT_EQ(profile.GetString("S", "V"), "abc");
    // Not a string: reads as the default.
    EXPECT_EQ(profile.GetString("S", "N", "d"), "d");
}
