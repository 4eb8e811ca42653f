#include <windows.h>

#include <gtest/gtest.h>

#include "common/SuiteApp.h"
#include "framework/testing/Scripted.h"

namespace {
const char kKey[] = "Software\\Orvex\\mirolo\\Settings";

class CTestApp : public CSuiteApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

class SuiteSettingsTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvex"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvex"); }

    static void Write(const char* name, const char* value) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(strlen(value) + 1));
        RegCloseKey(key);
    }
    static void WriteAll() {
        Write("RECVFLD_DIR", "C:\\Program Files\\LUMENPOST\\tray\\");
        Write("LOG_DIR", "C:\\Program Files\\LUMENPOST\\Log\\");
        Write("TEMP_DIR", "C:\\Program Files\\LUMENPOST\\Temp\\");
        Write("PROGRAM_DIR", "C:\\Program Files\\LUMENPOST\\");
    }

    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(SuiteSettingsTest, AllFourPresentGiveFoldersAndHelpPath) {
    WriteAll();
    CTestApp app;
    ASSERT_TRUE(app.LoadSuiteSettings(156));
    EXPECT_TRUE(m_boxes.Calls().empty());
    EXPECT_EQ(app.RecvFolder(), "C:\\Program Files\\LUMENPOST\\tray\\");
    EXPECT_EQ(app.LogFolder(), "C:\\Program Files\\LUMENPOST\\Log\\");
    EXPECT_EQ(app.TempFolder(), "C:\\Program Files\\LUMENPOST\\Temp\\");
    EXPECT_EQ(app.ProgramFolder(), "C:\\Program Files\\LUMENPOST\\");
    EXPECT_EQ(app.HelpPath(), "C:\\Program Files\\LUMENPOST\\Mirolo.hlp");
    EXPECT_EQ(app.RecvFile("RESEND.TMP"), "C:\\Program Files\\LUMENPOST\\tray\\RESEND.TMP");
}

TEST_F(SuiteSettingsTest, EachValueMissingOrEmptyShowsTheErrorOnceAndStops) {
    const char* names[] = {"RECVFLD_DIR", "LOG_DIR", "TEMP_DIR", "PROGRAM_DIR"};
    for (int missing = 0; missing < 4; ++missing) {
        for (bool empty : {false, true}) {
            SetUp();
            WriteAll();
            HKEY key;
            RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key);
            if (empty)
                RegSetValueExA(key, names[missing], 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            else
                RegDeleteValueA(key, names[missing]);
            RegCloseKey(key);

            CScriptedMessageBoxes boxes;
            CScopedSeam<IMessageBoxes> seam(boxes);
            CTestApp app;
            app.SetAppName("地址簿");
            EXPECT_FALSE(app.LoadSuiteSettings(156));
            ASSERT_EQ(boxes.Calls().size(), 1u) << names[missing];
            EXPECT_EQ(boxes.Calls()[0].text, "注册错误");
            EXPECT_EQ(boxes.Calls()[0].caption, "地址簿");
            EXPECT_EQ(boxes.Calls()[0].type, UINT(MB_ICONEXCLAMATION | MB_OK));
            // Values after the missing one are present in the registry but must not have been read.
            const std::string* folders[] = {&app.RecvFolder(), &app.LogFolder(), &app.TempFolder(),
                                            &app.ProgramFolder()};
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(folders[i]->empty(), i >= missing) << names[i] << " with " << names[missing] << " gone";
            EXPECT_EQ(app.HelpPath(), "");
        }
    }
}

TEST_F(SuiteSettingsTest, MissingKeyIsCreatedButNothingIsWritten) {
    CTestApp app;
    EXPECT_FALSE(app.LoadSuiteSettings(157));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "注册错误!");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 99;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, 0u);
}

TEST_F(SuiteSettingsTest, AFolderWithoutTrailingBackslash) {
    WriteAll();
    Write("RECVFLD_DIR", "C:\\fax\\tray");
    Write("PROGRAM_DIR", "C:\\fax");
    CTestApp app;
    ASSERT_TRUE(app.LoadSuiteSettings(156));
    EXPECT_EQ(app.RecvFile("scanfile.smh"), "C:\\fax\\tray\\scanfile.smh");
    EXPECT_EQ(app.HelpPath(), "C:\\faxMirolo.hlp");
}
