#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Resources.h"

// Both ways user text reaches the programs (string tables and source literals) must arrive as code page 936.
TEST(TextEncoding, StringTableAndLiteralsAreCodePage936) {
    ASSERT_EQ(GetACP(), 936u);
    const std::string expected = "\xD5\xE2\xB2\xBB\xCA\xC7\xD3\xD0\xD0\xA7\xB5\xC4SMH\xCE\xC4\xBC\xFE";
    EXPECT_EQ(LoadResString(900), expected);
    EXPECT_EQ(std::string("这不是有效的SMH文件"), expected);
}

TEST(TextEncoding, FormatsPlaceholderFromStringTable) {
    EXPECT_EQ(FormatResString(901, "C:\\tray\\a.smh"), "不能打开文件 C:\\tray\\a.smh");
    EXPECT_EQ(LoadResString(12345), "");
}
