// Pixels of the animated progress bar, rendered into a bitmap.
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
    corvane::ProgressPalette Palette() const {
        return corvane::MakeProgressPalette(Rgb{51, 102, 153}, Sys(wxSYS_COLOUR_BTNSHADOW),
                                            Sys(wxSYS_COLOUR_3DDKSHADOW));
    }

    static constexpr int W = 100;
    static constexpr int H = 16;
    wxFrame* frame = nullptr;
    CAnimatedProgressCtrl* bar = nullptr;
};

TEST_F(ControlsProgress, UpperLimitShowsTheShadedBarOverTheWholeWidth) {
    bar->SetRange(10, 20);
    bar->SetPos(20);
    const wxImage img = Shot();
    const auto p = Palette();
    // Down the middle: dark top row, light centre, darker bottom rows.
    const Rgb column[H] = {p.d1, p.base, p.l1, p.l2, p.l3, p.l3,   p.l3, p.l3,
                           p.l3, p.l3,   p.l3, p.l2, p.l1, p.base, p.d1, p.d2};
    for (int y = 0; y < H; ++y)
        EXPECT_EQ(At(img, 50, y), column[y]) << y;
    // Across row 5: base left edge, dark right edge.
    const std::pair<int, Rgb> row[] = {{0, p.base}, {1, p.l3}, {W - 3, p.l2}, {W - 2, p.d1}, {W - 1, p.d2}};
    for (const auto& [x, colour] : row)
        EXPECT_EQ(At(img, x, 5), colour) << x;
    EXPECT_EQ(At(img, 1, 0), p.base);
    EXPECT_EQ(At(img, 1, H - 1), p.d1);
    // The shadow columns fall outside the control: nothing of them is visible.
    for (int y = 0; y < H; ++y) {
        EXPECT_NE(At(img, W - 1, y), p.midShadow);
        EXPECT_NE(At(img, W - 1, y), p.shadow);
    }
}

// The position is held inside the range; a bar at the lower end shows only the face,
// a partial one ends with the two shadow columns.
TEST_F(ControlsProgress, ThePositionInsideTheRangeSetsTheFilledWidth) {
    bar->SetRange(0, 4);
    EXPECT_EQ(bar->SetPos(-3), 0);
    EXPECT_EQ(bar->GetPos(), 0);
    const Rgb face = Sys(wxSYS_COLOUR_BTNFACE);
    const wxImage empty = Shot();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(At(empty, x, y), face) << x << "," << y;

    bar->SetPos(1); // a quarter of 100 pixels
    const wxImage img = Shot();
    const auto p = Palette();
    EXPECT_EQ(At(img, 24, 5), p.d2);
    EXPECT_EQ(At(img, 25, 5), p.midShadow);
    EXPECT_EQ(At(img, 26, 5), p.shadow);
    EXPECT_EQ(At(img, 27, 5), face);

    EXPECT_EQ(bar->SetPos(15), 1);
    EXPECT_EQ(bar->GetPos(), 4);
    bar->SetRange(0, 2);
    EXPECT_EQ(bar->GetPos(), 2);
}

TEST_F(ControlsProgress, StripesRepeatEveryTwentyPixelsAndMoveRight) {
    bar->SetRange(0, 100);
    bar->SetPos(0); // the position is ignored while animating
    bar->SetAnimation(true);
    ASSERT_TRUE(bar->IsAnimating());
    const wxImage img = Shot();
    const auto p = Palette();
    // Top row: the line for k starts at x = offset - 20 + h + k + 1 - h = k - 19 (+20 per group).
    const Rgb expected[20] = {p.d2, p.d1, p.base, p.l1, p.l2, p.l3, p.l2, p.l1, p.base, p.d1,
                              p.l3, p.l3, p.l3,   p.l3, p.l3, p.l3, p.l3, p.l3, p.l3,   p.l3};
    for (int x = 0; x < W; ++x) {
        const int k = ((x + 19) % 20);
        ASSERT_EQ(At(img, x, 0), expected[k]) << "top x=" << x;
        // 45-degree lines: one row down is one pixel further right.
        if (x + H - 1 < W) {
            ASSERT_EQ(At(img, x + H - 1, H - 1), expected[k]) << "bottom x=" << x;
        }
    }
    bar->SetAnimation(false);
    EXPECT_FALSE(bar->IsAnimating());
    const wxImage still = Shot();
    EXPECT_EQ(At(still, 50, 0), Sys(wxSYS_COLOUR_BTNFACE));
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
