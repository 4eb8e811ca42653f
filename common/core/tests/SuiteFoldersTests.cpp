#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "common/core/SuiteFolders.h"

namespace {
struct FakeSettings {
    std::map<std::string, std::string> values;
    std::vector<std::string> reads;
    std::string operator()(const char* name) {
        reads.push_back(name);
        auto it = values.find(name);
        return it == values.end() ? "" : it->second;
    }
};

FakeSettings Installed() {
    return {{{"RECVFLD_DIR", "C:\\LUMENPOST\\tray\\"},
             {"LOG_DIR", "C:\\LUMENPOST\\Log\\"},
             {"TEMP_DIR", "C:\\LUMENPOST\\Temp\\"},
             {"PROGRAM_DIR", "C:\\LUMENPOST\\"}},
            {}};
}
}  // namespace

TEST(ReadSuiteFolders, AllFourPresentGiveTheFoldersAndTheHelpPath) {
    FakeSettings fake = Installed();
    SuiteSettings s;
    EXPECT_EQ(ReadSuiteFolders(std::ref(fake), s), nullptr);
    EXPECT_EQ(fake.reads, (std::vector<std::string>{"RECVFLD_DIR", "LOG_DIR", "TEMP_DIR", "PROGRAM_DIR"}));
    EXPECT_EQ(s.recvFolder, "C:\\LUMENPOST\\tray\\");
    EXPECT_EQ(s.programFolder, "C:\\LUMENPOST\\");
    EXPECT_EQ(s.helpPath, "C:\\LUMENPOST\\Mirolo.hlp");
}

TEST(ReadSuiteFolders, StopsAtTheFirstMissingOrEmptyValue) {
    for (int missing = 0; missing < 4; ++missing) {
        for (bool present : {false, true}) {
            FakeSettings fake = Installed();
            if (present)
                fake.values[kSuiteFolderValues[missing]] = "";
            else
                fake.values.erase(kSuiteFolderValues[missing]);
            SuiteSettings s;
            s.helpPath = "stale";
            const char* stop = ReadSuiteFolders(std::ref(fake), s);
            ASSERT_NE(stop, nullptr);
            EXPECT_STREQ(stop, kSuiteFolderValues[missing]);
            EXPECT_EQ(fake.reads.size(), static_cast<size_t>(missing + 1)) << "later values must not be read";
            const std::string* folders[4] = {&s.recvFolder, &s.logFolder, &s.tempFolder, &s.programFolder};
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(folders[i]->empty(), i >= missing) << "value " << i << " with " << missing << " missing";
        }
    }
}

TEST(FileInFolder, InsertsABackslashOnlyWhenNeeded) {
    EXPECT_EQ(FileInFolder("C:\\tray\\", "a.smh"), "C:\\tray\\a.smh");
    EXPECT_EQ(FileInFolder("C:\\tray", "a.smh"), "C:\\tray\\a.smh");
    // 0x95 0x5C is one double-byte character: the folder does not end in a backslash.
    EXPECT_EQ(FileInFolder("C:\\\x95\x5C", "a.smh"), "C:\\\x95\x5C\\a.smh");
    EXPECT_EQ(FileInFolder("C:\\\x95\x5C\\", "a.smh"), "C:\\\x95\x5C\\a.smh");
}

TEST(HelpPathFor, RunsTheFileNameIntoAFolderWithoutBackslash) {
    EXPECT_EQ(HelpPathFor("C:\\LUMENPOST\\"), "C:\\LUMENPOST\\Mirolo.hlp");
    EXPECT_EQ(HelpPathFor("C:\\LUMENPOST"), "C:\\LUMENPOSTMirolo.hlp");
}

TEST(IsPlainFileName, OnlyNamesThatStayInsideTheFolder) {
    // A double-byte character whose second byte has the value of "\\" is a character of the name.
    for (const char* plain :
         {"R20261201093012.smh", "a b.smh", "..smh", "\xD5\xC5.smh", "\x81\\.smh", "\xB1\\\xED.smh"})
        EXPECT_TRUE(IsPlainFileName(plain)) << plain;
    for (const char* reaching : {"", ".", "..", "..\\Addr.csv", "sub\\f.smh", "c:f.smh", "C:\\x.smh", "\\x.smh",
                                 "/etc/x", "a/b", "\x81\\\\x.smh"})
        EXPECT_FALSE(IsPlainFileName(reaching)) << reaching;
}
