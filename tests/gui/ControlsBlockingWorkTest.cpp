// The one runner of blocking work, with a job that only waits: what the windows do
// while it runs, and what reaches them afterwards.
#include "controls/CBlockingWork.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

using std::chrono::milliseconds;

TEST(ControlsBlockingWork, WindowsPaintAndTickWhileInputIsDroppedAndClosingIsRefused) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "work", wxPoint(60, 60), wxSize(300, 200));
    auto* button = new wxButton(frame, wxID_ANY, "Press");
    auto* canvas = new wxWindow(frame, wxID_ANY, wxPoint(0, 100), wxSize(300, 60));
    std::atomic<int> paints{0};
    int clicks = 0;
    button->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++clicks; });
    canvas->Bind(wxEVT_PAINT, [&](wxPaintEvent&) {
        wxPaintDC dc(canvas);
        ++paints;
    });
    frame->Show();
    CBlockingWork::DispatchEventsFor(milliseconds(300));
    wxUIActionSimulator sim;
    sim.MouseMove(button->GetScreenRect().GetPosition() + wxPoint(5, 5));
    sim.MouseClick();
    CBlockingWork::DispatchEventsFor(milliseconds(300));
    ASSERT_EQ(clicks, 1) << "the display does not deliver simulated clicks";
    button->SetFocus();

    // During the work: a click, a key that would press the focused button, a close.
    int ticks = 0;
    bool closed = true;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (++ticks == 2) {
            sim.MouseClick();
            sim.Char(' ');
            closed = frame->Close();
            paints = 0;
            canvas->Refresh();
        }
    });
    timer.Start(50);
    int paintedDuringWork = 0;
    CBlockingWork::Run([&] {
        std::this_thread::sleep_for(milliseconds(700));
        paintedDuringWork = paints;
    });
    timer.Stop();
    CBlockingWork::DispatchEventsFor(milliseconds(300));
    EXPECT_GE(ticks, 8);
    EXPECT_GE(paintedDuringWork, 1);
    EXPECT_EQ(clicks, 1) << "input during the work was kept and replayed";
    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_THROW(CBlockingWork::Run([] { throw std::runtime_error("job failed"); }), std::runtime_error);
    frame->Destroy();
    CBlockingWork::DispatchEventsFor(milliseconds(50));
}

} // namespace
