#include <gtest/gtest.h>

#include "controls/ProgressColours.h"

using corvane::Rgb;

// Each channel steps by 51 on its own and stays put where the step would leave
// 0..255; the mid shadow halves the gap with an arithmetic shift (rounding down).
TEST(ProgressColours, ChannelsStepSeparatelyAndTheShadesChainFromTheBase) {
    EXPECT_EQ(corvane::Lighten(Rgb{204, 205, 0}), (Rgb{255, 205, 51}));
    EXPECT_EQ(corvane::Darken(Rgb{51, 50, 255}), (Rgb{0, 50, 204}));
    EXPECT_EQ(corvane::MidShadow(Rgb{128, 100, 10}, Rgb{64, 99, 13}), (Rgb{96, 99, 11}));

    const auto p = corvane::MakeProgressPalette(Rgb{51, 102, 153}, Rgb{160, 160, 160}, Rgb{105, 105, 105});
    EXPECT_EQ(p.l1, (Rgb{102, 153, 204}));
    EXPECT_EQ(p.l3, (Rgb{204, 255, 255})); // blue can no longer grow
    EXPECT_EQ(p.d2, (Rgb{0, 0, 51}));
    EXPECT_EQ(p.midShadow, (Rgb{132, 132, 132}));
}
