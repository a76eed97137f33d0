// The "Connecting ..." popup: where it appears, and that only its caller can take it
// away.
#include "../common/RemoteTestSupport.h"

#include <wx/frame.h>

using namespace remotetest;

namespace {

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
