#include "controls/CBlockingWork.h"

#include "controls/ToolkitSymbol.h"
#include "platform/CCancelScope.h"

#include <atomic>
#include <exception>
#include <thread>
#include <vector>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/evtloop.h>
#include <wx/utils.h>
#include <wx/weakref.h>
#include <wx/window.h>

namespace {

struct CRun {
    std::atomic<bool> cancelled{false};
    wxWindow* cancelButton = nullptr;
    bool cancellable = false;
};

// The runs under way, innermost last.
std::vector<CRun*> g_runs;

bool IsInside(wxWindow* window, const wxWindow* outer) {
    for (; window; window = window->GetParent())
        if (window == outer)
            return true;
    return false;
}

// Input is swallowed, and closing is refused. Escape, and a press of the innermost
// run's cancel button, cancel that run instead of reaching a window.
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
        const bool mouse = event.IsKindOf(wxCLASSINFO(wxMouseEvent));
        const bool key = event.IsKindOf(wxCLASSINFO(wxKeyEvent));
        if (!mouse && !key)
            return Event_Skip;
        const CRun* run = g_runs.empty() ? nullptr : g_runs.back();
        if (run && run->cancellable) {
            // The frame's key hook sees the key first; the key itself follows when nothing takes it.
            if ((type == wxEVT_CHAR_HOOK || type == wxEVT_KEY_DOWN) &&
                static_cast<wxKeyEvent&>(event).GetKeyCode() == WXK_ESCAPE)
                CBlockingWork::Cancel();
            if (type == wxEVT_LEFT_UP && run->cancelButton &&
                IsInside(dynamic_cast<wxWindow*>(event.GetEventObject()), run->cancelButton))
                CBlockingWork::Cancel();
        }
        return Event_Processed;
    }
};

// Keeps the focus where it was: a window shown during the work (a message box of a
// nested step, say) may have taken it.
class CFocusKeeper {
public:
    CFocusKeeper() : m_focus(wxWindow::FindFocus()) {}
    ~CFocusKeeper() {
        if (m_focus && m_focus->CanAcceptFocus() && wxWindow::FindFocus() != m_focus)
            m_focus->SetFocus();
    }
    CFocusKeeper(const CFocusKeeper&) = delete;
    CFocusKeeper& operator=(const CFocusKeeper&) = delete;

private:
    wxWeakRef<wxWindow> m_focus;
};

// A loop of our own: the caller may be a handler inside a modal loop, or a test with
// no loop running at all. It dispatches what the display sends as it comes, unlike a
// yield limited to some event kinds, which would keep clicks and keys aside and hand
// them to the windows after the work.
void DispatchUntil(const std::atomic<bool>& ended) {
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    while (!ended.load())
        loop.DispatchTimeout(10);
}

// The toolkit's grab: input of the whole application goes to `window` (and what lies
// inside it). Grabs stack, so the modal dialog under a live window gets its own back.
void Grab(wxWindow* window, bool on) {
#ifdef __WXGTK__
    using GrabCall = void (*)(void*);
    static const auto add = corvane::ToolkitSymbol<GrabCall>("gtk_grab_add");
    static const auto remove = corvane::ToolkitSymbol<GrabCall>("gtk_grab_remove");
    const auto call = on ? add : remove;
    if (call && window->GetHandle())
        call(window->GetHandle());
#else
    (void)window;
    (void)on;
#endif
}

void RunJob(const std::function<void()>& job, CRun& run) {
    std::atomic<bool> ended{false};
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            corvane::CCancelScope scope(&run.cancelled);
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
        g_runs.push_back(&run);
        struct CPop {
            ~CPop() { g_runs.pop_back(); }
        } pop;
        wxBusyCursor wait;
        CFocusKeeper focus;
        CInputDropper dropInput;
        DispatchUntil(ended);
    }
    if (error)
        std::rethrow_exception(error);
}

} // namespace

void CBlockingWork::Run(const std::function<void()>& job) {
    CRun run;
    RunJob(job, run);
}

bool CBlockingWork::RunCancellable(const std::function<void()>& job, wxWindow* cancelButton) {
    CRun run;
    run.cancellable = true;
    run.cancelButton = cancelButton;
    RunJob(job, run);
    return !run.cancelled.load();
}

void CBlockingWork::Cancel() {
    if (!g_runs.empty() && g_runs.back()->cancellable)
        g_runs.back()->cancelled = true;
}

int CBlockingWork::RunningCount() {
    return static_cast<int>(g_runs.size());
}

CBlockingWork::CLiveWindow::CLiveWindow(wxWindow* window) : m_pWindow(window) {
    Grab(m_pWindow, true);
}

CBlockingWork::CLiveWindow::~CLiveWindow() {
    Grab(m_pWindow, false);
}
