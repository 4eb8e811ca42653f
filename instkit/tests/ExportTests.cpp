#include <gtest/gtest.h>

#include "instkit/tests/InstkitDll.h"

TEST(InstkitExports, EveryOrdinalReachesTheFunctionOfItsName) {
    const HMODULE module = Instkit().module;
    ASSERT_TRUE(module);
    for (const ExportName& e : kExports) {
        const FARPROC byName = GetProcAddress(module, e.name);
        EXPECT_TRUE(byName) << e.name;
        EXPECT_EQ(byName, GetProcAddress(module, MAKEINTRESOURCEA(e.ordinal))) << e.name;
    }
    EXPECT_FALSE(GetProcAddress(module, MAKEINTRESOURCEA(1)));
    EXPECT_FALSE(GetProcAddress(module, MAKEINTRESOURCEA(22)));
    EXPECT_FALSE(GetProcAddress(module, "_InstallPrinter@56"));
}

TEST(InstkitExports, TheDefaultLanguageIsTheUsers) {
    ASSERT_TRUE(Instkit().GetDefaultLangID);
    EXPECT_EQ(Instkit().GetDefaultLangID(), static_cast<DWORD>(GetUserDefaultLangID()));
    EXPECT_EQ(Instkit().GetDefaultLangID(), 0x0804u);
}
