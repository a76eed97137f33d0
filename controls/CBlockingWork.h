#pragma once
// CBlockingWork: the one way to run blocking work (a network call, a component's method)
// from the UI thread. GTK lets only the main thread touch windows, so the job runs on a
// worker thread while the main thread keeps every window painting and its timers ticking.
// Until the job ends, user input is dropped (never queued for later), no window can be
// closed and the wait cursor shows; whatever the job threw is rethrown on the UI thread.
#include <chrono>
#include <functional>

class wxWindow;

class CBlockingWork {
public:
    // Runs `job` on a worker thread and returns once it has ended.
    static void Run(const std::function<void()>& job);

    // A window that shows activity during the work (the connecting popup): it is not
    // disabled, so it keeps its normal look while the others are greyed out.
    class CLiveWindow {
    public:
        explicit CLiveWindow(wxWindow* window);
        ~CLiveWindow();
        CLiveWindow(const CLiveWindow&) = delete;
        CLiveWindow& operator=(const CLiveWindow&) = delete;

    private:
        wxWindow* m_pWindow;
    };

    // Keeps the calling (main) thread dispatching every event for the given time.
    static void DispatchEventsFor(std::chrono::milliseconds duration);
    // Dispatches events until `done` holds or `limit` has passed; returns `done()`.
    static bool DispatchEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
};
