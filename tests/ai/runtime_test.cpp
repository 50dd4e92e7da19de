// Run-time services and the naming of controls.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "ai/runtime.h"
#include "flow/toolkit.h"

namespace quorbel {
namespace {

TEST(FormatElapsed, ShowsMinutesAndSecondsOfTheHour) {
    const double second = 1.0 / 86400.0;
    EXPECT_EQ(FormatElapsed(0), "00:00");
    EXPECT_EQ(FormatElapsed(65 * second), "01:05");
    EXPECT_EQ(FormatElapsed(0.4 * second), "00:00");
    EXPECT_EQ(FormatElapsed(0.6 * second), "00:01");
    EXPECT_EQ(FormatElapsed(3599 * second), "59:59");
    EXPECT_EQ(FormatElapsed(3661 * second), "01:01");  // read as a time of day: the hour drops
}

TEST(NumberFromText, ReadsTheLeadingWholeNumber) {
    EXPECT_EQ(NumberFromText("1"), 1);
    EXPECT_EQ(NumberFromText("10"), 10);
    EXPECT_EQ(NumberFromText("  7 Stufen"), 7);
    EXPECT_EQ(NumberFromText(""), 0);
    EXPECT_EQ(NumberFromText("Stufe 3"), 0);
}

TEST(ObjectName, CarriesTheExactNameAndTheIndex) {
    EXPECT_EQ(objectName(Control::lblStaerke), "lblStärke");
    EXPECT_EQ(objectName({Control::cmdMenue, 2}), "cmdMenü_2");
    EXPECT_EQ(objectName({Control::cmdFeld, 3}), "cmdFeld_3");
    EXPECT_EQ(objectName({Control::Feld, 41}), "Feld_41");
    EXPECT_EQ(objectName(Control::optdefensiv), "optdefensiv");
}

TEST(PaletteColor, IsTheClassicSixteenColourPalette) {
    EXPECT_EQ(PaletteColor(0), rgb(0, 0, 0));
    EXPECT_EQ(PaletteColor(10), rgb(0, 255, 0));
    EXPECT_EQ(PaletteColor(12), 255u);
    EXPECT_EQ(PaletteColor(14), rgb(255, 255, 0));
    EXPECT_EQ(PaletteColor(15), rgb(255, 255, 255));
    EXPECT_EQ(rgb(0, 0, 255), 0xFF0000u);
}

// Reseeding from the clock before every draw, as the colour flicker does, must not repeat draws
// that fall into one clock tick: the fifteen colours stay evenly used.
TEST(SystemRuntime, DrawsStayUniformWhenReseededBeforeEachDraw) {
    SystemRuntime runtime;
    constexpr int kDraws = 150000;
    std::array<int, 15> counts{};
    double previous = -1;
    int repeats = 0;
    for (int i = 0; i < kDraws; ++i) {
        runtime.reseedFromTimeOfDay();
        const double r = runtime.random();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        repeats += r == previous ? 1 : 0;
        previous = r;
        ++counts[static_cast<std::size_t>(15 * r)];
    }
    EXPECT_EQ(repeats, 0);
    double chiSquare = 0;
    const double expected = kDraws / 15.0;
    for (const int n : counts) {
        chiSquare += (n - expected) * (n - expected) / expected;
    }
    EXPECT_LT(chiSquare, 36.1);  // 14 degrees of freedom, p = 0.001
}

TEST(SystemRuntime, NowIsADateInDaysWithTheTimeOfDayAsFraction) {
    const double now = SystemRuntime::now();
    EXPECT_GT(now, 45000.0);  // after 2023
    const double seconds = SystemRuntime::secondsSinceMidnight();
    const double fromNow = (now - static_cast<long long>(now)) * 86400.0;
    EXPECT_NEAR(std::remainder(fromNow - seconds, 86400.0), 0.0, 2.0);
}

}  // namespace
}  // namespace quorbel
