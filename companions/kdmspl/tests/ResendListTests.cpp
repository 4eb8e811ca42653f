#include <gtest/gtest.h>

#include "companions/kdmspl/core/ResendList.h"

using Paths = std::vector<std::string>;

TEST(ResendList, SendListHasOnePathPerCrLfLineInOrder) {
    EXPECT_EQ(ParseResendList("C:\\fax\\xmitfax0.smh\r\nC:\\fax\\xmitfax1.smh\r\nC:\\fax\\xmitfax2.smh\r\n"),
              (Paths{"C:\\fax\\xmitfax0.smh", "C:\\fax\\xmitfax1.smh", "C:\\fax\\xmitfax2.smh"}));
}

TEST(ResendList, PrintListIsOnePathWithoutLineEnd) {
    EXPECT_EQ(ParseResendList("C:\\fax\\xmitfaxtemp.smh"), (Paths{"C:\\fax\\xmitfaxtemp.smh"}));
}

TEST(ResendList, EmptyListFromAResendWithoutDocumentHasNoJobs) {
    EXPECT_TRUE(ParseResendList("").empty());
    EXPECT_TRUE(ParseResendList("\r\n \r\n").empty());
}

TEST(ResendList, BareLineFeedsAndSurroundingBlanksAreAccepted) {
    EXPECT_EQ(ParseResendList("  C:\\a.smh \n\nC:\\b.smh\t"), (Paths{"C:\\a.smh", "C:\\b.smh"}));
}

TEST(ResendList, SpacesInsideAPathAndDoubleByteNamesStay) {
    const std::string path = "C:\\Program Files\\\xB4\xAB\xD5\xE6\\xmitfax0.smh";  // 传真
    EXPECT_EQ(ParseResendList(path + "\r\n"), (Paths{path}));
}

TEST(ResendList, OverlongLineIsDroppedNotCut) {
    const std::string longPath = "C:\\" + std::string(kMaxJobPath, 'a');
    const std::string fits = "C:\\" + std::string(kMaxJobPath - 3, 'b');
    EXPECT_EQ(ParseResendList(longPath + "\r\n" + fits + "\r\n"), (Paths{fits}));
}
