#include "controls/CBlockingWork.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/evtloop.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/weakref.h>

namespace {

std::vector<wxWindow*> g_liveWindows;

// A loop of our own: the caller may be a handler inside a modal loop, or a test with
// no loop running at all. It dispatches what the display sends as it comes, unlike a
// yield limited to some event kinds, which would keep clicks and keys aside and hand
// them to the windows after the work.
template <class Done> void Dispatch(Done&& done) {
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    while (!done())
        loop.DispatchTimeout(10);
}

// Input that still reaches a window (a live one, or one shown during the work) is
// swallowed, and closing is refused.
class CInputDropper : public wxEventFilter {
public:
    CInputDropper() { wxEvtHandler::AddFilter(this); }
    ~CInputDropper() override { wxEvtHandler::RemoveFilter(this); }
    CInputDropper(const CInputDropper&) = delete;
    CInputDropper& operator=(const CInputDropper&) = delete;

    int FilterEvent(wxEvent& event) override {
        const wxEventType type = event.GetEventType();
        if (type == wxEVT_CLOSE_WINDOW || type == wxEVT_QUERY_END_SESSION) {
            auto& close = static_cast<wxCloseEvent&>(event);
            if (!close.CanVeto())
                return Event_Skip;
            close.Veto();
            return Event_Processed;
        }
        const bool input =
            event.IsKindOf(wxCLASSINFO(wxMouseEvent)) || event.IsKindOf(wxCLASSINFO(wxKeyEvent));
        return input ? Event_Processed : Event_Skip;
    }
};

// Disables every shown top-level window except the live ones; GTK then drops their input,
// and the focus with it: the control that had it gets it back afterwards.
class CDisabler {
public:
    CDisabler() : m_focus(wxWindow::FindFocus()) {
        for (wxWindow* w : wxTopLevelWindows) {
            const bool live = std::find(g_liveWindows.begin(), g_liveWindows.end(), w) != g_liveWindows.end();
            if (!live && w->IsShown() && w->IsEnabled()) {
                w->Disable();
                m_disabled.push_back(w);
            }
        }
    }
    ~CDisabler() {
        // Windows destroyed meanwhile are no longer listed.
        for (wxWindow* w : m_disabled)
            if (wxTopLevelWindows.Find(w))
                w->Enable();
        if (m_focus && m_focus->CanAcceptFocus() && wxWindow::FindFocus() != m_focus)
            m_focus->SetFocus();
    }
    CDisabler(const CDisabler&) = delete;
    CDisabler& operator=(const CDisabler&) = delete;

private:
    std::vector<wxWindow*> m_disabled;
    wxWeakRef<wxWindow> m_focus;
};

} // namespace

void CBlockingWork::Run(const std::function<void()>& job) {
    std::atomic<bool> ended{false};
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            job();
        } catch (...) {
            error = std::current_exception();
        }
        ended = true;
        // Lets the main thread's loop notice at once instead of at its next timeout.
        wxWakeUpIdle();
    });
    {
        // Joins the worker even if dispatching throws: the job's captures live on this frame.
        struct CJoin {
            std::thread& worker;
            ~CJoin() { worker.join(); }
        } join{worker};
        wxBusyCursor wait;
        CDisabler noInput;
        CInputDropper dropInput;
        Dispatch([&] { return ended.load(); });
    }
    if (error)
        std::rethrow_exception(error);
}

CBlockingWork::CLiveWindow::CLiveWindow(wxWindow* window) : m_pWindow(window) {
    g_liveWindows.push_back(window);
}

CBlockingWork::CLiveWindow::~CLiveWindow() {
    g_liveWindows.erase(std::find(g_liveWindows.begin(), g_liveWindows.end(), m_pWindow));
}

void CBlockingWork::DispatchEventsFor(std::chrono::milliseconds duration) {
    const auto until = std::chrono::steady_clock::now() + duration;
    Dispatch([until] { return std::chrono::steady_clock::now() >= until; });
}

bool CBlockingWork::DispatchEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    Dispatch([&] { return done() || std::chrono::steady_clock::now() >= until; });
    return done();
}
