#include <gtest/gtest.h>

#include "launcher/core/MenuLayout.h"
#include "launcher/resource.h"

TEST(MenuLayout, ShippedBitmapsGiveTheTwoByThreeGrid) {
    auto places = MenuButtonPlaces(36, 36);
    const int ids[6] = {IDC_FAXPRINT, IDC_LOGBOOK, IDC_AUTORECV, IDC_SCANER, IDC_VIEWFAX, IDC_PHONEBOOK};
    const int xs[3] = {6, 49, 92};
    const int ys[2] = {5, 46};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(places[i].id, ids[i]);
        EXPECT_EQ(places[i].x, xs[i % 3]);
        EXPECT_EQ(places[i].y, ys[i / 3]);
        EXPECT_EQ(places[i].cx, 38);
        EXPECT_EQ(places[i].cy, 36);
    }
    EXPECT_EQ(MenuClientWidth(36), 136);
    EXPECT_EQ(MenuClientHeight(36), 87);
}

TEST(MenuLayout, ButtonsNeverOverlapAndFitTheClientAreaForOtherSizes) {
    for (int w : {16, 36, 48}) {
        for (int h : {16, 36, 50}) {
            auto places = MenuButtonPlaces(w, h);
            for (const auto& p : places) {
                EXPECT_LE(p.x + p.cx, MenuClientWidth(w));
                EXPECT_LE(p.y + p.cy, MenuClientHeight(h));
            }
            for (int i = 0; i + 1 < 3; ++i)
                EXPECT_LT(places[i].x + places[i].cx, places[i + 1].x);
            EXPECT_LT(places[0].y + places[0].cy, places[3].y);
        }
    }
}

TEST(DrivePart, TakesTheDriveLetterOnly) {
    EXPECT_EQ(DrivePart("C:\\windows"), "C:");
    EXPECT_EQ(DrivePart("d:"), "d:");
    EXPECT_EQ(DrivePart("\\\\server\\share\\windows"), "");
    EXPECT_EQ(DrivePart(""), "");
    EXPECT_EQ(DrivePart("1:\\x"), "");
}
