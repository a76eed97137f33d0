// Pixels of the animated progress bar, rendered into a bitmap.
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/settings.h>

#include "../common/EventPump.h"
#include "controls/CAnimatedProgressCtrl.h"

namespace {

using corvane::Rgb;

class ControlsProgress : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "progress");
        bar = new CAnimatedProgressCtrl(frame, wxID_ANY, wxDefaultPosition, wxSize(W, H));
        bar->SetBarColor(wxColour(51, 102, 153));
    }
    void TearDown() override { frame->Destroy(); }

    wxImage Shot() const {
        wxBitmap bmp(W, H, 24);
        wxMemoryDC dc(bmp);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        bar->Render(dc, wxRect(0, 0, W, H));
        dc.SelectObject(wxNullBitmap);
        return bmp.ConvertToImage();
    }
    static Rgb At(const wxImage& img, int x, int y) {
        return {img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y)};
    }
    static Rgb Sys(wxSystemColour id) {
        const wxColour c = wxSystemSettings::GetColour(id);
        return {c.Red(), c.Green(), c.Blue()};
    }
    // Shades of the base colour (51, 102, 153), worked out by hand: 51 lighter or darker
    // per channel, a channel that would leave 0..255 staying as it was.
    static constexpr Rgb kLightest{204, 255, 255};
    static constexpr Rgb kDark{0, 51, 102};
    static constexpr Rgb kDarkest{0, 0, 51};
    static bool Between(std::uint8_t c, std::uint8_t a, std::uint8_t b) {
        return std::min(a, b) <= c && c <= std::max(a, b);
    }

    static constexpr int W = 100;
    static constexpr int H = 16;
    wxFrame* frame = nullptr;
    CAnimatedProgressCtrl* bar = nullptr;
};

// The position is held inside the range; a bar at the lower end shows only the face,
// a partial one ends with the two shadow columns, and a full one is shaded top to
// bottom, lightest in the middle, across the whole width with no shadow.
TEST_F(ControlsProgress, ThePositionInsideTheRangeSetsTheFilledWidth) {
    bar->SetRange(10, 14);
    EXPECT_EQ(bar->SetPos(-3), 10);
    EXPECT_EQ(bar->GetPos(), 10);
    const Rgb face = Sys(wxSYS_COLOUR_BTNFACE);
    const wxImage empty = Shot();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(At(empty, x, y), face) << x << "," << y;

    bar->SetPos(11); // a quarter of 100 pixels
    const wxImage part = Shot();
    const Rgb shadow = Sys(wxSYS_COLOUR_BTNSHADOW);
    const Rgb darkShadow = Sys(wxSYS_COLOUR_3DDKSHADOW);
    EXPECT_EQ(At(part, 24, 5), kDarkest);
    const Rgb mid = At(part, 25, 5);
    EXPECT_TRUE(Between(mid.r, shadow.r, darkShadow.r) && Between(mid.g, shadow.g, darkShadow.g) &&
                Between(mid.b, shadow.b, darkShadow.b));
    EXPECT_EQ(At(part, 26, 5), shadow);
    EXPECT_EQ(At(part, 27, 5), face);

    EXPECT_EQ(bar->SetPos(15), 11);
    EXPECT_EQ(bar->GetPos(), 14);
    const wxImage full = Shot();
    EXPECT_EQ(At(full, 50, H / 2), kLightest);
    EXPECT_EQ(At(full, 50, 0), kDark);
    EXPECT_EQ(At(full, 50, H - 1), kDarkest);
    for (int x = 0; x < W; ++x) {
        EXPECT_NE(At(full, x, 5), face) << x;
        EXPECT_NE(At(full, x, 5), shadow) << x;
    }
    bar->SetRange(10, 12);
    EXPECT_EQ(bar->GetPos(), 12);
}

// 45-degree stripes twenty pixels apart; the position is ignored while animating.
TEST_F(ControlsProgress, StripesRepeatEveryTwentyPixelsAlongTheDiagonal) {
    bar->SetRange(0, 100);
    bar->SetPos(0);
    bar->SetAnimation(true);
    ASSERT_TRUE(bar->IsAnimating());
    const wxImage img = Shot();
    EXPECT_NE(At(img, 0, 0), At(img, 5, 0));
    for (int x = 0; x < W; ++x) {
        ASSERT_TRUE(x + 20 >= W || At(img, x, 0) == At(img, x + 20, 0)) << x;
        ASSERT_TRUE(x + H - 1 >= W || At(img, x + H - 1, H - 1) == At(img, x, 0)) << x;
        ASSERT_NE(At(img, x, H / 2), Sys(wxSYS_COLOUR_BTNFACE)) << x;
    }
    bar->SetAnimation(false);
    EXPECT_FALSE(bar->IsAnimating());
    EXPECT_EQ(At(Shot(), 50, 0), Sys(wxSYS_COLOUR_BTNFACE));
}

TEST_F(ControlsProgress, AnimationAdvancesOnTheTimer) {
    frame->Show();
    bar->SetAnimation(true);
    const wxImage first = Shot();
    EXPECT_TRUE(testpump::PumpUntil([&] { return bar->GetAnimationOffset() >= 3; }));
    const int moved = bar->GetAnimationOffset();
    const wxImage later = Shot();
    for (int x = moved; x < W; ++x)
        ASSERT_EQ(At(later, x, 0), At(first, x - moved, 0)) << x;
    bar->SetAnimation(false);
}

} // namespace
