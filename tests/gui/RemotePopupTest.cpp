// The "Connecting ..." popup: its bar cycle, where it appears, and that only its
// caller can take it away.
#include "RemoteTestSupport.h"

#include <wx/frame.h>
#include <wx/gauge.h>

using namespace remotetest;

namespace {

TEST(RemotePopup, BarCyclesTenToNinetyThenZero) {
    auto* popup = new CConnectingPopup(nullptr);
    wxTimer tick(popup, CConnectingPopup::IDT_ANIMATION);
    std::vector<int> seen;
    for (int i = 0; i < 11; ++i) {
        wxTimerEvent ev(tick);
        popup->ProcessWindowEvent(ev);
        seen.push_back(popup->GetProgress()->GetValue());
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 10}));
    popup->Destroy();
}

TEST(RemotePopup, CentredOnItsOwnerAndClosedOnlyByItsCaller) {
    auto* owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(100, 80), wxSize(401, 301));
    owner->Show();
    Pump(std::chrono::milliseconds(100));
    auto* popup = new CConnectingPopup(owner);
    popup->ShowPopup();
    Pump(std::chrono::milliseconds(100));
    const wxRect own = owner->GetScreenRect();
    const wxRect mine = popup->GetScreenRect();
    EXPECT_EQ(mine.x, own.x + (own.width / 2 - mine.width / 2));
    EXPECT_EQ(mine.y, own.y + (own.height / 2 - mine.height / 2));
    EXPECT_EQ(CConnectingPopup::VisibleCount(), 1);

    // Neither the close box nor Escape ends it under the caller's feet.
    EXPECT_FALSE(popup->Close());
    wxKeyEvent esc(wxEVT_CHAR_HOOK);
    esc.m_keyCode = WXK_ESCAPE;
    popup->ProcessWindowEvent(esc);
    Pump(std::chrono::milliseconds(50));
    EXPECT_TRUE(popup->IsShown());

    const auto start = std::chrono::steady_clock::now();
    popup->ClosePopup();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(CConnectingPopup::VisibleCount(), 0);
    owner->Destroy();
    Pump(std::chrono::milliseconds(50));
}

} // namespace
