// The hyperlink control: what it opens, its colours, its keyboard use.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

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

TEST_F(ControlsLink, OpensTheLinkAndTurnsPurple) {
    auto* link = new CTestLink(frame, 1025, "Our web site");
    link->SetLink("https://corvane.example.org/");
    EXPECT_EQ(link->GetLinkColour(), CStaticLink::kUnvisited);
    EXPECT_EQ(link->GetLinkColour(), wxColour(0, 0, 255));
    EXPECT_TRUE(link->OpenLink());
    ASSERT_EQ(link->launched.size(), 1u);
    EXPECT_EQ(link->launched[0], "https://corvane.example.org/");
    EXPECT_EQ(link->GetLinkColour(), wxColour(128, 0, 128));
    EXPECT_TRUE(link->IsVisited());
    EXPECT_EQ(link->beeps, 0);
}

TEST_F(ControlsLink, WithoutLinkTheTextIsOpened) {
    auto* link = new CTestLink(frame, wxID_ANY, "https://www.example.com/");
    EXPECT_TRUE(link->OpenLink());
    ASSERT_EQ(link->launched.size(), 1u);
    EXPECT_EQ(link->launched[0], "https://www.example.com/");
}

TEST_F(ControlsLink, NothingToOpenOnlyBeepsAndStaysBlue) {
    auto* empty = new CTestLink(frame, wxID_ANY, "");
    EXPECT_FALSE(empty->OpenLink());
    EXPECT_TRUE(empty->launched.empty());
    EXPECT_EQ(empty->beeps, 1);
    EXPECT_EQ(empty->GetLinkColour(), CStaticLink::kUnvisited);

    // A refused link falls back to the text; refused too, a beep.
    auto* refused = new CTestLink(frame, wxID_ANY, "text");
    refused->SetLink("https://a.example/");
    refused->accept = false;
    EXPECT_FALSE(refused->OpenLink());
    EXPECT_EQ(refused->launched.size(), 2u);
    EXPECT_EQ(refused->beeps, 1);
    EXPECT_FALSE(refused->IsVisited());
}

TEST_F(ControlsLink, ANewControlStartsBlueAgain) {
    auto* first = new CTestLink(frame, wxID_ANY, "x", "https://a.example/");
    first->OpenLink();
    auto* second = new CTestLink(frame, wxID_ANY, "x", "https://a.example/");
    EXPECT_TRUE(first->IsVisited());
    EXPECT_FALSE(second->IsVisited());
}

TEST_F(ControlsLink, SpaceOpensAndClickOpens) {
    auto* link = new CTestLink(frame, wxID_ANY, "https://www.example.com/");
    EXPECT_TRUE(link->AcceptsFocusFromKeyboard());
    frame->Show();
    frame->Raise();
    link->SetFocus();
    wxYield();

    wxKeyEvent other(wxEVT_CHAR);
    other.m_keyCode = 'a';
    other.SetEventObject(link);
    link->ProcessWindowEvent(other);
    EXPECT_TRUE(link->launched.empty());

    wxKeyEvent space(wxEVT_CHAR);
    space.m_keyCode = WXK_SPACE;
    space.SetEventObject(link);
    link->ProcessWindowEvent(space);
    EXPECT_EQ(link->launched.size(), 1u);

    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetEventObject(link);
    link->ProcessWindowEvent(up);
    EXPECT_EQ(link->launched.size(), 2u);
    EXPECT_EQ(link->GetCursor().IsOk(), true);
}

// Real input through the X server: Tab reaches the link, Space and a click open it.
TEST_F(ControlsLink, KeyboardAndMouseThroughTheDisplay) {
    auto* panel = new wxPanel(frame);
    auto* button = new wxButton(panel, wxID_ANY, "Before", wxPoint(10, 10));
    auto* link = new CTestLink(panel, wxID_ANY, "https://www.example.com/", wxString(), wxPoint(10, 60));
    frame->SetClientSize(300, 120);
    frame->Show();
    frame->Raise();
    auto settle = [] {
        for (int i = 0; i < 20; ++i) {
            wxTheApp->Yield(true);
            wxMilliSleep(10);
        }
    };
    settle();
    button->SetFocus();
    settle();
    wxUIActionSimulator sim;
    sim.Char(WXK_TAB);
    settle();
    ASSERT_TRUE(link->HasFocus()) << "Tab does not reach the link";
    sim.Char('x');
    settle();
    EXPECT_TRUE(link->launched.empty());
    sim.Char(' ');
    settle();
    EXPECT_EQ(link->launched.size(), 1u);

    sim.MouseMove(link->GetScreenRect().GetPosition() + wxPoint(5, 5));
    settle();
    sim.MouseClick();
    settle();
    EXPECT_EQ(link->launched.size(), 2u);
    EXPECT_TRUE(link->IsVisited());
}

} // namespace
