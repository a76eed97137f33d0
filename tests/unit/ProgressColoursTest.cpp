#include <gtest/gtest.h>

#include "controls/ProgressColours.h"

using corvane::Darken;
using corvane::Lighten;
using corvane::MakeProgressPalette;
using corvane::MidShadow;
using corvane::Rgb;

TEST(ProgressColours, LightenStopsEachChannelSeparatelyBeforeItWouldOverflow) {
    // 204 + 51 = 255 still fits; 205 + 51 = 256 does not, so that channel stays.
    EXPECT_EQ(Lighten(Rgb{204, 205, 0}), (Rgb{255, 205, 51}));
    EXPECT_EQ(Lighten(Rgb{255, 255, 255}), (Rgb{255, 255, 255}));
}

TEST(ProgressColours, DarkenKeepsChannelsBelowTheStep) {
    EXPECT_EQ(Darken(Rgb{51, 50, 255}), (Rgb{0, 50, 204}));
    EXPECT_EQ(Darken(Rgb{0, 0, 0}), (Rgb{0, 0, 0}));
}

TEST(ProgressColours, MidShadowHalvesTheDifferenceWithAnArithmeticShift) {
    // Shadow 128, dark shadow 64: 128 + (-64 >> 1) = 96. An odd negative gap
    // rounds down: 100 + (-1 >> 1) = 99.
    EXPECT_EQ(MidShadow(Rgb{128, 100, 10}, Rgb{64, 99, 13}), (Rgb{96, 99, 11}));
}

TEST(ProgressColours, PaletteChainsTheSteps) {
    const auto p = MakeProgressPalette(Rgb{51, 102, 153}, Rgb{160, 160, 160}, Rgb{105, 105, 105});
    EXPECT_EQ(p.l1, (Rgb{102, 153, 204}));
    EXPECT_EQ(p.l2, (Rgb{153, 204, 255}));
    EXPECT_EQ(p.l3, (Rgb{204, 255, 255})); // blue can no longer grow
    EXPECT_EQ(p.d1, (Rgb{0, 51, 102}));
    EXPECT_EQ(p.d2, (Rgb{0, 0, 51}));
    EXPECT_EQ(p.midShadow, (Rgb{132, 132, 132}));
}
