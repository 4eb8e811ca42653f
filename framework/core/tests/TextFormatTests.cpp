#include <gtest/gtest.h>

#include "framework/core/TextFormat.h"

namespace {
// A literal with embedded NULs, whole.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}
}  // namespace

TEST(ReplacePlaceholder1, SubstitutesEveryOccurrenceAndKeepsDoubledPercent) {
    EXPECT_EQ(ReplacePlaceholder1("open %1 failed", "a.smh"), "open a.smh failed");
    EXPECT_EQ(ReplacePlaceholder1("%1 and %1", "x"), "x and x");
    EXPECT_EQ(ReplacePlaceholder1("100%% of %1", "y"), "100% of y");
    EXPECT_EQ(ReplacePlaceholder1("trailing %", "z"), "trailing %");
    EXPECT_EQ(ReplacePlaceholder1("%2 stays", "z"), "%2 stays");
    // The argument itself is not scanned again.
    EXPECT_EQ(ReplacePlaceholder1("[%1]", "%1"), "[%1]");
}

TEST(ReplacePlaceholder1, KeepsMultiByteTextIntact) {
    // "不能打开文件 %1" in code page 936.
    const std::string text = "\xB2\xBB\xC4\xDC\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE %1";
    EXPECT_EQ(ReplacePlaceholder1(text, "C:\\a.smh"), "\xB2\xBB\xC4\xDC\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE C:\\a.smh");
}

TEST(FilterFromResource, SplitsAtBarsAndEndsInTwoNuls) {
    std::string f = FilterFromResource("Doc Files (*.doc)|*.doc|All Files (*.*)|*.*||");
    EXPECT_EQ(f, Bytes("Doc Files (*.doc)\0*.doc\0All Files (*.*)\0*.*\0\0\0\0"));
    EXPECT_EQ(FilterFromResource("A|*.a"), Bytes("A\0*.a\0\0"));
}

TEST(FilterFromResource, ABarThatIsATrailByteIsNotASeparator) {
    // 0x81 0x7C is one double-byte character whose second byte is '|'.
    std::string f = FilterFromResource("\x81|x|*.x");
    EXPECT_EQ(f, Bytes("\x81|x\0*.x\0\0"));
}

TEST(LowerAscii, LowersCapitalsButNotTrailBytes) {
    EXPECT_EQ(LowerAscii("C:\\LOG\\RECEIVE.CSV"), "c:\\log\\receive.csv");
    // 0x81 0x41: the "A" is the trail byte of one character and stays.
    EXPECT_EQ(LowerAscii("\x81"
                         "AB"),
              "\x81"
              "Ab");
    EXPECT_EQ(LowerAscii(""), "");
}
