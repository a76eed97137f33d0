#include "remote/CChildThread.h"

#include <wx/app.h>
#include <wx/evtloop.h>

namespace {

// A loop of our own: the caller may be a handler inside a modal loop, or a test
// with no loop running at all.
template <class Done> void Dispatch(Done&& done) {
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    while (!done())
        loop.DispatchTimeout(10);
}

} // namespace

CChildThread::CChildThread(std::function<void()> job) : m_job(std::move(job)) {}

CChildThread::~CChildThread() {
    if (m_thread.joinable())
        m_thread.join();
}

void CChildThread::CreateThread() {
    m_thread = std::thread([this] {
        try {
            m_job();
        } catch (...) {
            m_error = std::current_exception();
        }
        m_bEnded.store(true);
        // Let the main thread's loop notice at once instead of at its next timeout.
        wxWakeUpIdle();
    });
}

void CChildThread::WaitForEnd() {
    Dispatch([this] { return HasEnded(); });
    m_thread.join();
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}

void CChildThread::Run(std::function<void()> job) {
    CChildThread worker(std::move(job));
    worker.CreateThread();
    worker.WaitForEnd();
}

void CChildThread::DispatchEventsFor(std::chrono::milliseconds duration) {
    const auto until = std::chrono::steady_clock::now() + duration;
    Dispatch([until] { return std::chrono::steady_clock::now() >= until; });
}

bool CChildThread::DispatchEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    Dispatch([&] { return done() || std::chrono::steady_clock::now() >= until; });
    return done();
}
