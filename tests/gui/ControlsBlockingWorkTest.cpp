// The one runner of blocking work, with jobs that only wait: what the windows do while
// it runs, what reaches them afterwards, and how the operator cancels it.
#include "../common/RealClick.h"
#include "controls/CBlockingWork.h"
#include "platform/CCancelScope.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/timer.h>

namespace {

using std::chrono::milliseconds;

// Waits until the operator cancels, at most `limit`; says whether it was cancelled.
bool WaitForCancel(milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!corvane::CCancelScope::IsCancelled() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(milliseconds(10));
    return corvane::CCancelScope::IsCancelled();
}

// Runs `action` once, `afterMs` into the work that follows.
class CDuringWork : public wxTimer {
public:
    CDuringWork(std::function<void()> action, int afterMs) : m_action(std::move(action)) {
        StartOnce(afterMs);
    }
    void Notify() override { m_action(); }

private:
    std::function<void()> m_action;
};

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
    testpump::RealClick(button);
    ASSERT_EQ(clicks, 1) << "the display does not deliver simulated clicks";
    button->SetFocus();

    // During the work: a click, a key that would press the focused button, a close.
    int ticks = 0;
    bool closed = true;
    wxUIActionSimulator sim;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (++ticks == 2) {
            sim.MouseClick();
            sim.Char(' ');
            sim.Char(WXK_ESCAPE);
            closed = frame->Close();
            paints = 0;
            canvas->Refresh();
        }
    });
    timer.Start(50);
    int paintedDuringWork = 0;
    bool cancelled = true;
    CBlockingWork::Run([&] {
        std::this_thread::sleep_for(milliseconds(700));
        paintedDuringWork = paints;
        cancelled = corvane::CCancelScope::IsCancelled();
    });
    timer.Stop();
    testpump::Pump(milliseconds(300));
    EXPECT_GE(ticks, 8);
    EXPECT_GE(paintedDuringWork, 1);
    EXPECT_EQ(clicks, 1) << "input during the work was kept and replayed";
    EXPECT_FALSE(cancelled) << "Escape cancelled work that was not offered for cancelling";
    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_EQ(wxWindow::FindFocus(), button);
    EXPECT_THROW(CBlockingWork::Run([] { throw std::runtime_error("job failed"); }), std::runtime_error);
    frame->Destroy();
    testpump::Pump(milliseconds(50));
}

// GTK forgets that a dialog is modal once it has been disabled: the window under it
// took clicks again after any work run from the dialog.
TEST(ControlsBlockingWork, AModalDialogStaysModalAfterTheWork) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "under", wxPoint(40, 40), wxSize(400, 300));
    auto* button = new wxButton(frame, wxID_ANY, "Under", wxPoint(300, 200));
    int clicks = 0;
    button->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++clicks; });
    frame->Show();
    testpump::RealClick(button);
    ASSERT_EQ(clicks, 1) << "the display does not deliver simulated clicks";

    auto* dlg = new wxDialog(frame, wxID_ANY, "modal", wxPoint(60, 60), wxSize(200, 100));
    dlg->CallAfter([&] {
        CBlockingWork::Run([] { std::this_thread::sleep_for(milliseconds(200)); });
        CBlockingWork::RunCancellable([] { WaitForCancel(milliseconds(300)); }, nullptr);
        testpump::RealClick(button);
        dlg->EndModal(wxID_OK);
    });
    dlg->ShowModal();
    EXPECT_EQ(clicks, 1) << "the window under a modal dialog took a click after the work";
    dlg->Destroy();
    frame->Destroy();
    testpump::Pump(milliseconds(50));
}

TEST(ControlsBlockingWork, EscapeOrTheCancelButtonEndsCancellableWorkAtOnce) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "cancel", wxPoint(60, 60), wxSize(300, 200));
    auto* cancel = new wxButton(frame, wxID_CANCEL, "Cancel", wxPoint(10, 10));
    auto* other = new wxButton(frame, wxID_ANY, "Other", wxPoint(150, 10));
    frame->Show();
    testpump::Pump();
    wxUIActionSimulator sim;
    struct Case {
        const char* name;
        std::function<void()> input;
        bool cancels;
    } cases[] = {
        {"Escape", [&] { sim.Char(WXK_ESCAPE); }, true},
        {"click on Cancel",
         [&] {
             sim.MouseMove(cancel->GetScreenRect().GetPosition() + wxPoint(5, 5));
             sim.MouseClick();
         },
         true},
        {"click elsewhere",
         [&] {
             sim.MouseMove(other->GetScreenRect().GetPosition() + wxPoint(5, 5));
             sim.MouseClick();
         },
         false},
    };
    for (const Case& c : cases) {
        testpump::PointAt(frame, wxPoint(100, 100));
        CDuringWork during(c.input, 100);
        bool seen = false;
        const auto start = std::chrono::steady_clock::now();
        const bool ranToEnd =
            CBlockingWork::RunCancellable([&] { seen = WaitForCancel(milliseconds(1500)); }, cancel);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(seen, c.cancels) << c.name;
        EXPECT_EQ(ranToEnd, !c.cancels) << c.name;
        if (c.cancels) {
            EXPECT_LT(took, milliseconds(1000)) << c.name;
        }
    }
    frame->Destroy();
    testpump::Pump(milliseconds(50));
}

// A timer of a window may start work while other work runs; the inner run is the one
// Cancel reaches, and both end with the windows as they were.
TEST(ControlsBlockingWork, WorkStartedDuringWorkNestsInIt) {
    int innerCount = 0;
    bool innerCancelled = false;
    bool outerCancelled = true;
    CDuringWork startInner(
        [&] {
            CDuringWork cancelInner([] { CBlockingWork::Cancel(); }, 100);
            innerCount = CBlockingWork::RunningCount();
            innerCancelled =
                !CBlockingWork::RunCancellable([] { WaitForCancel(milliseconds(1500)); }, nullptr);
        },
        50);
    CBlockingWork::RunCancellable(
        [&] {
            std::this_thread::sleep_for(milliseconds(600));
            outerCancelled = corvane::CCancelScope::IsCancelled();
        },
        nullptr);
    EXPECT_EQ(innerCount, 1);
    EXPECT_TRUE(innerCancelled);
    EXPECT_FALSE(outerCancelled);
    EXPECT_EQ(CBlockingWork::RunningCount(), 0);
}

} // namespace
