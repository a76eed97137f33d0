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
    static Rgb Face() {
        const wxColour c = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
        return {c.Red(), c.Green(), c.Blue()};
    }

    static constexpr int W = 100;
    static constexpr int H = 16;
    wxFrame* frame = nullptr;
    CAnimatedProgressCtrl* bar = nullptr;
};

// The position is held inside the range and sets how much of the width is filled; the
// shades themselves are the palette's (ProgressColours).
TEST_F(ControlsProgress, ThePositionInsideTheRangeSetsTheFilledWidth) {
    bar->SetRange(10, 14);
    EXPECT_EQ(bar->SetPos(-3), 10);
    EXPECT_EQ(bar->GetPos(), 10);
    const wxImage empty = Shot();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(At(empty, x, y), Face()) << x << "," << y;

    bar->SetPos(11); // a quarter of 100 pixels, then the two shadow columns
    const wxImage part = Shot();
    EXPECT_NE(At(part, 26, 5), Face());
    EXPECT_EQ(At(part, 27, 5), Face());

    EXPECT_EQ(bar->SetPos(15), 11);
    EXPECT_EQ(bar->GetPos(), 14);
    const wxImage full = Shot();
    for (int x = 0; x < W; ++x)
        EXPECT_NE(At(full, x, 5), Face()) << x;
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
        ASSERT_NE(At(img, x, H / 2), Face()) << x;
    }
    bar->SetAnimation(false);
    EXPECT_FALSE(bar->IsAnimating());
    EXPECT_EQ(At(Shot(), 50, 0), Face());
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
