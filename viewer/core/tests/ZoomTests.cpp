#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "viewer/core/Zoom.h"

namespace {
const ZoomSize kA4{1728, 2200};
const std::string kWu = "\xCE\xE5";              // 五
const std::string kShi = "\xCA\xAE";             // 十
const std::string kFangDa = "\xB7\xC5\xB4\xF3";  // 放大
const std::string kLead = "\xB7";
}  // namespace

TEST(ZoomedSize, TruncatesEachAxisTowardZero) {
    EXPECT_EQ(ZoomedSize({1729, 2201}, 0.5f), (ZoomSize{864, 1100}));
    EXPECT_EQ(ZoomedSize(kA4, 1.25f), (ZoomSize{2160, 2750}));
    EXPECT_EQ(ZoomedSize(kA4, 0.1f), (ZoomSize{172, 220}));
    EXPECT_EQ(ZoomedSize({1999, 3}, 1.0f / 3), (ZoomSize{666, 1}));
}

TEST(ZoomedSize, WholePercentagesGiveWholePixels) {
    // 0.7f is just below 0.7: 10 pixels must still come to 7, not 6.
    EXPECT_EQ(ZoomedSize({10, 10}, 0.7f), (ZoomSize{7, 7}));
    for (int percent = 10; percent <= 200; ++percent) {
        const float factor = static_cast<float>(percent * 0.01);
        EXPECT_EQ(ZoomedSize({100, 1000}, factor), (ZoomSize{percent, percent * 10})) << percent;
    }
}

TEST(ZoomedSize, TakesAnyFactor) {
    EXPECT_EQ(ZoomedSize(kA4, 5.0f), (ZoomSize{8640, 11000}));
    EXPECT_EQ(ZoomedSize(kA4, 0.0f), (ZoomSize{0, 0}));
    EXPECT_EQ(ZoomedSize(kA4, 1e30f), (ZoomSize{INT_MAX, INT_MAX}));
    EXPECT_EQ(ZoomedSize(kA4, std::nanf("")), (ZoomSize{0, 0}));
    EXPECT_EQ(ZoomedSize({0, 0}, 2.0f), (ZoomSize{0, 0}));
}

TEST(ZoomFactor, StepsByAQuarter) {
    EXPECT_FLOAT_EQ(ZoomInFactor(1.0f), 1.25f);
    EXPECT_FLOAT_EQ(ZoomOutFactor(1.0f), 0.8f);
    EXPECT_FLOAT_EQ(ZoomInFactor(1.0f, 1.5f), 1.5f);
}

TEST(ZoomFactor, HeldWithinTenToTwoHundredPercent) {
    EXPECT_EQ(ZoomInFactor(1.6f), 2.0f);
    EXPECT_EQ(ZoomInFactor(1.7f), 2.0f);
    EXPECT_EQ(ZoomInFactor(2.0f), 2.0f);
    EXPECT_EQ(ZoomOutFactor(0.11f), 0.1f);
    EXPECT_EQ(ZoomOutFactor(0.1f), 0.1f);
    // A factor set unbounded comes back within the range at the next step.
    EXPECT_EQ(ZoomOutFactor(5.0f), 2.0f);
    EXPECT_EQ(ZoomInFactor(0.01f), 0.1f);
}

TEST(ZoomFactor, RepeatedStepsEndExactlyAtTheBounds) {
    float in = 1.0f;
    float out = 1.0f;
    for (int i = 0; i < 20; ++i) {
        in = ZoomInFactor(in);
        out = ZoomOutFactor(out);
    }
    EXPECT_EQ(in, kMaxZoom);
    EXPECT_EQ(out, kMinZoom);
}

TEST(ZoomFactor, StepWithoutSizeLeavesTheFactor) {
    EXPECT_EQ(ZoomOutFactor(1.5f, 0.0f), 1.5f);
    EXPECT_EQ(ZoomOutFactor(3.0f, -1.0f), 2.0f);
}

TEST(ScrollSteps, PageIsATenthAndLineATenthOfThat) {
    const ScrollSteps steps = ScrollStepsFor(kA4);
    EXPECT_EQ(steps.page, (ZoomSize{172, 220}));
    EXPECT_EQ(steps.line, (ZoomSize{17, 22}));
}

TEST(ScrollSteps, SmallPageStillScrolls) {
    const ScrollSteps tenth = ScrollStepsFor(ZoomedSize(kA4, 0.1f));
    EXPECT_EQ(tenth.page, (ZoomSize{17, 22}));
    EXPECT_EQ(tenth.line, (ZoomSize{1, 2}));
    const ScrollSteps tiny = ScrollStepsFor({50, 5});
    EXPECT_EQ(tiny.page, (ZoomSize{5, 1}));
    EXPECT_EQ(tiny.line, (ZoomSize{1, 1}));
}

TEST(ScrollSteps, EmptyAxisHasNoSteps) {
    const ScrollSteps steps = ScrollStepsFor({0, 100});
    EXPECT_EQ(steps.page, (ZoomSize{0, 10}));
    EXPECT_EQ(steps.line, (ZoomSize{0, 1}));
}

TEST(CentredScrollPosition, BringsThePointToTheMiddle) {
    EXPECT_EQ(CentredScrollPosition({864, 1100}, kA4, 1.0f, {400, 300}), (ZoomPoint{664, 950}));
    EXPECT_EQ(CentredScrollPosition({500, 500}, kA4, 2.0f, {400, 300}), (ZoomPoint{800, 850}));
    EXPECT_EQ(CentredScrollPosition({1000, 1000}, kA4, 0.8f, {401, 301}), (ZoomPoint{600, 650}));
}

TEST(CentredScrollPosition, StaysWithinTheScrollRange) {
    EXPECT_EQ(CentredScrollPosition({0, 0}, kA4, 1.0f, {400, 300}), (ZoomPoint{0, 0}));
    EXPECT_EQ(CentredScrollPosition({1728, 2200}, kA4, 1.0f, {400, 300}), (ZoomPoint{1328, 1900}));
    EXPECT_EQ(CentredScrollPosition({-50, 5000}, kA4, 2.0f, {400, 300}), (ZoomPoint{0, 4100}));
}

TEST(CentredScrollPosition, PageSmallerThanWindowIsNotScrolled) {
    EXPECT_EQ(CentredScrollPosition({1728, 2200}, kA4, 0.1f, {400, 300}), (ZoomPoint{0, 0}));
    EXPECT_EQ(CentredScrollPosition({1728, 2200}, kA4, 1.0f, {2000, 300}), (ZoomPoint{0, 1900}));
    EXPECT_EQ(CentredScrollPosition({10, 10}, {0, 0}, 1.0f, {400, 300}), (ZoomPoint{0, 0}));
}

TEST(PlanZoomToRect, RectangleWithALongSideFits) {
    // 9 by 30 device pixels: its larger side decides, so it fits rather than stepping.
    const ZoomToRectPlan plan = PlanZoomToRect({100, 100, 109, 130}, kA4, 1.0f, {40, 40});
    EXPECT_FALSE(plan.stepIn);
    EXPECT_FLOAT_EQ(plan.factor, 41.0f / 30);
    EXPECT_EQ(plan.centre, (ZoomPoint{104, 115}));
}

TEST(PlanZoomToRect, SmallRectangleStepsInAtItsCentre) {
    const ZoomToRectPlan plan = PlanZoomToRect({100, 100, 109, 109}, kA4, 1.0f, {40, 40});
    EXPECT_TRUE(plan.stepIn);
    EXPECT_FLOAT_EQ(plan.factor, 1.25f);
    EXPECT_EQ(plan.centre, (ZoomPoint{104, 104}));
}

TEST(PlanZoomToRect, SidesAreMeasuredInDevicePixels) {
    // 6 page pixels are 12 on the device at 200%; 18 are 9 at 50%.
    EXPECT_FALSE(PlanZoomToRect({0, 0, 6, 6}, kA4, 2.0f, {400, 300}).stepIn);
    const ZoomToRectPlan half = PlanZoomToRect({0, 0, 18, 18}, kA4, 0.5f, {400, 300});
    EXPECT_TRUE(half.stepIn);
    EXPECT_FLOAT_EQ(half.factor, 0.625f);
}

TEST(PlanZoomToRect, FitFactorDoesNotDependOnTheCurrentZoom) {
    // The same page rectangle gives the same factor whatever the zoom it was drawn at; at 200% it never zooms out.
    for (float current : {0.5f, 1.0f, 2.0f}) {
        EXPECT_FLOAT_EQ(PlanZoomToRect({0, 0, 600, 400}, kA4, current, {500, 400}).factor, 501.0f / 600) << current;
        EXPECT_EQ(PlanZoomToRect({0, 0, 200, 150}, kA4, current, {500, 400}).factor, 2.0f) << current;
    }
}

TEST(PlanZoomToRect, InvertedRectangleIsNormalised) {
    const ZoomToRectPlan plan = PlanZoomToRect({109, 130, 100, 100}, kA4, 1.0f, {40, 40});
    EXPECT_FALSE(plan.stepIn);
    EXPECT_FLOAT_EQ(plan.factor, 41.0f / 30);
    EXPECT_EQ(plan.centre, (ZoomPoint{104, 115}));
    const ZoomToRectPlan small = PlanZoomToRect({109, 100, 100, 109}, kA4, 1.0f, {40, 40});
    EXPECT_TRUE(small.stepIn);
    EXPECT_EQ(small.centre, (ZoomPoint{104, 104}));
}

TEST(PlanZoomToRect, RectangleWithoutExtent) {
    const ZoomToRectPlan point = PlanZoomToRect({50, 60, 50, 60}, kA4, 2.0f, {400, 300});
    EXPECT_TRUE(point.stepIn);
    EXPECT_EQ(point.factor, 2.0f);
    EXPECT_EQ(point.centre, (ZoomPoint{50, 60}));
    // A line has no width to fit; its height alone decides.
    const ZoomToRectPlan line = PlanZoomToRect({50, 0, 50, 300}, kA4, 1.0f, {100, 100});
    EXPECT_FALSE(line.stepIn);
    EXPECT_FLOAT_EQ(line.factor, 101.0f / 300);
    EXPECT_TRUE(PlanZoomToRect({0, 0, 0, 0}, {0, 0}, 1.0f, {400, 300}).stepIn);
}

TEST(PlanZoomToRect, FitIsHeldWithinTheRange) {
    EXPECT_EQ(PlanZoomToRect({0, 0, 100, 100}, kA4, 1.0f, {INT_MAX, INT_MAX}).factor, 2.0f);
    EXPECT_EQ(PlanZoomToRect({0, 0, 1728, 2200}, kA4, 1.0f, {0, 0}).factor, 0.1f);
    EXPECT_EQ(PlanZoomToRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kA4, 1.0f, {400, 300}).centre, (ZoomPoint{0, 0}));
}

TEST(ZoomBoxText, TruncatedPercentage) {
    EXPECT_EQ(ZoomBoxText(1.25f), "125%");
    EXPECT_EQ(ZoomBoxText(1.679f), "167%");
    EXPECT_EQ(ZoomBoxText(2.0f), "200%");
    EXPECT_EQ(ZoomBoxText(0.1f), "10%");
    EXPECT_EQ(ZoomBoxText(41.0f / 30), "136%");
}

TEST(ZoomBoxText, FloatFactorsShowTheirWholePercentage) {
    EXPECT_EQ(ZoomBoxText(0.8f), "80%");
    EXPECT_EQ(ZoomBoxText(ZoomOutFactor(1.0f)), "80%");
    EXPECT_EQ(ZoomBoxText(ZoomOutFactor(ZoomOutFactor(1.0f))), "64%");
    EXPECT_EQ(ZoomBoxText(0.7f), "70%");
    // Whatever the box sets, a later mouse zoom at that factor shows the same text.
    for (int percent = 10; percent <= 200; ++percent) {
        const ZoomBoxChoice choice = ParseZoomBoxText(std::to_string(percent));
        EXPECT_EQ(ZoomBoxText(choice.factor), choice.text) << percent;
    }
}

TEST(ParseZoomBoxText, NumberWithOrWithoutPercent) {
    const ZoomBoxChoice typed = ParseZoomBoxText("75");
    EXPECT_FLOAT_EQ(typed.factor, 0.75f);
    EXPECT_EQ(typed.text, "75%");
    const ZoomBoxChoice entry = ParseZoomBoxText(" 25%");
    EXPECT_FLOAT_EQ(entry.factor, 0.25f);
    EXPECT_EQ(entry.text, "25%");
    EXPECT_EQ(ParseZoomBoxText("200%").text, "200%");
    EXPECT_EQ(ParseZoomBoxText("1a5").text, "15%");
}

TEST(ParseZoomBoxText, NumberHeldWithinTenToTwoHundred) {
    const ZoomBoxChoice low = ParseZoomBoxText("5%");
    EXPECT_FLOAT_EQ(low.factor, 0.1f);
    EXPECT_EQ(low.text, "10%");
    const ZoomBoxChoice high = ParseZoomBoxText("250");
    EXPECT_FLOAT_EQ(high.factor, 2.0f);
    EXPECT_EQ(high.text, "200%");
    EXPECT_EQ(ParseZoomBoxText("0").text, "10%");
    EXPECT_EQ(ParseZoomBoxText("99999999").text, "200%");
    EXPECT_EQ(ParseZoomBoxText(std::string(40, '9')).text, "200%");
}

TEST(ParseZoomBoxText, PercentEndsTheNumber) {
    EXPECT_EQ(ParseZoomBoxText("1%5").text, "10%");
    EXPECT_EQ(ParseZoomBoxText("%75").text, "100%");
}

TEST(ParseZoomBoxText, NoDigitsMeansHundredPercent) {
    for (const std::string& text : {std::string(), std::string("abc"), std::string(" %"), kWu + kShi + "%"}) {
        const ZoomBoxChoice choice = ParseZoomBoxText(text);
        EXPECT_EQ(choice.factor, 1.0f) << text;
        EXPECT_EQ(choice.text, "100%") << text;
    }
}

TEST(ParseZoomBoxText, DoubleByteCharactersArePassedOver) {
    EXPECT_EQ(ParseZoomBoxText(kFangDa + "75").text, "75%");
    EXPECT_EQ(ParseZoomBoxText("1" + kWu + "50%").text, "150%");
    // A lead byte takes the next byte with it, even a digit or "%".
    EXPECT_EQ(ParseZoomBoxText(kLead + "50").text, "10%");
    EXPECT_EQ(ParseZoomBoxText(kLead + "%75").text, "75%");
}

TEST(ParseZoomBoxText, LeadByteAtTheEnd) {
    EXPECT_EQ(ParseZoomBoxText("75" + kLead).text, "75%");
    EXPECT_EQ(ParseZoomBoxText(kLead).text, "100%");
}
