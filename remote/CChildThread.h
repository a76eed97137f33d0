#pragma once
// Runs one blocking network job on a worker thread. GTK lets only the main thread
// touch windows, so the main thread stays in charge of every window and keeps
// dispatching paint and timer events while the job runs; the caller blocks input
// (wxWindowDisabler) and shows the wait cursor around it.
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <thread>
#include <utility>

class CChildThread {
public:
    explicit CChildThread(std::function<void()> job);
    CChildThread(const CChildThread&) = delete;
    CChildThread& operator=(const CChildThread&) = delete;
    // Waits for a job that is still running (without dispatching events).
    ~CChildThread();

    // Starts the job on its own thread.
    void CreateThread();
    bool HasEnded() const { return m_bEnded.load(); }
    // Dispatches events on the calling thread until the job has ended, then
    // rethrows whatever the job threw.
    void WaitForEnd();

    // CreateThread and WaitForEnd in one.
    static void Run(std::function<void()> job);
    // Keeps the calling (main) thread dispatching events for the given time.
    static void DispatchEventsFor(std::chrono::milliseconds duration);
    // Dispatches events until `done` holds or `limit` has passed; returns `done()`.
    static bool DispatchEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

private:
    std::function<void()> m_job;
    std::thread m_thread;
    std::atomic<bool> m_bEnded{false};
    std::exception_ptr m_error;
};
