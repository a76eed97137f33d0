#pragma once
// CBlockingWork: the one way to run blocking work (a network call, a component's method)
// from the UI thread. GTK lets only the main thread touch windows, so the job runs on a
// worker thread while the main thread keeps every window painting and its timers ticking.
// Until the job ends, user input is dropped (never queued for later), no window can be
// closed and the wait cursor shows; whatever the job threw is rethrown on the UI thread.
// The windows keep their state: a modal dialog is still the only one taking input after
// the work, and the focus stays where it was.
//
// Work may be offered for cancelling: Escape, or a click on the control named as its
// cancel button, raises the flag that the network libraries check on the worker (see
// platform/CCancelScope.h); the job then ends within about a second.
#include <functional>

class wxWindow;

class CBlockingWork {
public:
    // Runs `job` on a worker thread and returns once it has ended.
    static void Run(const std::function<void()>& job);
    // The same, cancellable by Escape or a click on `cancelButton` (may be null: Escape
    // only). True when the job ran to its end, false when the operator cancelled it.
    static bool RunCancellable(const std::function<void()>& job, wxWindow* cancelButton);
    // Cancels the innermost work running now, as its cancel button does.
    static void Cancel();
    // How many runs are under way (a run started from an event handler during another
    // run nests in it).
    static int RunningCount();

    // A window that shows activity during the work (the connecting popup). While it
    // lives it alone takes the input that is not dropped, so its cancel button can be
    // clicked and Escape reaches it, over a modal dialog.
    class CLiveWindow {
    public:
        explicit CLiveWindow(wxWindow* window);
        ~CLiveWindow();
        CLiveWindow(const CLiveWindow&) = delete;
        CLiveWindow& operator=(const CLiveWindow&) = delete;

    private:
        wxWindow* m_pWindow;
    };
};
