#include <gtest/gtest.h>

#include "companions/watcher/core/Switches.h"

TEST(ReceiveSwitch, TheSwitchInAnyCaseAndPlaceReceivesOnce) {
    EXPECT_TRUE(HasReceiveSwitch("/receive"));
    EXPECT_TRUE(HasReceiveSwitch("-RECEIVE"));
    EXPECT_TRUE(HasReceiveSwitch("  /Receive\t"));
    EXPECT_TRUE(HasReceiveSwitch("C:\\x.smh /receive"));
    EXPECT_TRUE(HasReceiveSwitch("\"/receive\""));
}

TEST(ReceiveSwitch, NoSwitchOrSomethingLikeItStartsTheWindow) {
    EXPECT_FALSE(HasReceiveSwitch(""));
    EXPECT_FALSE(HasReceiveSwitch("receive"));
    EXPECT_FALSE(HasReceiveSwitch("/receiver"));
    EXPECT_FALSE(HasReceiveSwitch("/rec"));
    EXPECT_FALSE(HasReceiveSwitch("C:\\samples\\/receive.smh"));
    EXPECT_FALSE(HasReceiveSwitch("\"/receive"));
}
