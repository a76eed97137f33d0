// The hyperlink control: what it opens, its colours, its keyboard and mouse use.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include "../common/RealClick.h"
#include "controls/CStaticLink.h"

namespace {

// Records the hand-offs instead of starting a browser.
class CTestLink : public CStaticLink {
public:
    using CStaticLink::CStaticLink;
    std::vector<wxString> launched;
    bool accept = true;
    int beeps = 0;

protected:
    bool Launch(const wxString& target) override {
        launched.push_back(target);
        return accept;
    }
    void Beep() override { ++beeps; }
};

class ControlsLink : public ::testing::Test {
protected:
    void SetUp() override { frame = new wxFrame(nullptr, wxID_ANY, "link"); }
    void TearDown() override { frame->Destroy(); }
    wxFrame* frame = nullptr;
};

const wxColour kBlue(0, 0, 255);
const wxColour kPurple(128, 0, 128);

// The link is tried first, then the text shown; only what opens turns the text purple.
TEST_F(ControlsLink, OpensTheLinkOrElseTheTextAndOnlyBeepsWhenNothingOpens) {
    struct Case {
        const char* label;
        const char* link;
        bool accept;
        std::vector<wxString> launched;
    } const cases[] = {
        {"Our web site", "https://corvane.example.org/", true, {"https://corvane.example.org/"}},
        {"https://www.example.com/", "", true, {"https://www.example.com/"}},
        {"", "", true, {}},
        {"text", "https://a.example/", false, {"https://a.example/", "text"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto* link = new CTestLink(frame, wxID_ANY, c.label, c.link);
        link->accept = c.accept;
        const bool opened = c.accept && !c.launched.empty();
        EXPECT_EQ(link->OpenLink(), opened);
        EXPECT_EQ(link->launched, c.launched);
        EXPECT_EQ(link->beeps, opened ? 0 : 1);
        EXPECT_EQ(link->GetLinkColour(), opened ? kPurple : kBlue);
        EXPECT_EQ(link->IsVisited(), opened);
    }
    // Another control for the same address starts blue again.
    EXPECT_FALSE(CTestLink(frame, wxID_ANY, "x", "https://corvane.example.org/").IsVisited());
}

// Blue and purple as they are on a light theme; on a dark one lighter, still telling the two apart.
TEST_F(ControlsLink, StaysReadableOnADarkTheme) {
    const wxColour light(246, 245, 244), dark(53, 53, 53);
    for (const wxColour& colour : {kBlue, kPurple}) {
        EXPECT_EQ(CStaticLink::ReadableOn(colour, light), colour);
        EXPECT_GT(CStaticLink::ReadableOn(colour, dark).GetLuminance(), 0.5);
    }
    const wxColour blue = CStaticLink::ReadableOn(kBlue, dark);
    const wxColour purple = CStaticLink::ReadableOn(kPurple, dark);
    EXPECT_GT(blue.Blue(), blue.Red());
    EXPECT_GT(purple.Red(), purple.Green());
    EXPECT_NE(blue, purple);
}

// Real input through the X server: Tab reaches the link, Space and a click open it.
TEST_F(ControlsLink, KeyboardAndMouseThroughTheDisplay) {
    auto* panel = new wxPanel(frame);
    auto* button = new wxButton(panel, wxID_ANY, "Before", wxPoint(10, 10));
    auto* link = new CTestLink(panel, wxID_ANY, "https://www.example.com/", wxString(), wxPoint(10, 60));
    EXPECT_TRUE(link->GetCursor().IsOk());
    frame->SetClientSize(300, 120);
    frame->Show();
    frame->Raise();
    testpump::Pump();
    button->SetFocus();
    testpump::Pump();
    wxUIActionSimulator sim;
    sim.Char(WXK_TAB);
    ASSERT_TRUE(testpump::PumpUntil([&] { return link->HasFocus(); })) << "Tab does not reach the link";
    sim.Char('x');
    testpump::Pump();
    EXPECT_TRUE(link->launched.empty());
    sim.Char(' ');
    EXPECT_TRUE(testpump::PumpUntil([&] { return link->launched.size() == 1; }));

    testpump::PointAt(link);
    sim.MouseClick();
    EXPECT_TRUE(testpump::PumpUntil([&] { return link->launched.size() == 2; }));
    EXPECT_TRUE(link->IsVisited());
}

} // namespace
