#pragma once
// Blocking work the operator may cancel. The window's thread raises a flag; the
// network libraries' progress callbacks, on the worker thread that runs the work,
// look at it and end the transfer through the library's own abort. The flag is
// reached through the thread, so no call between the window and the library has
// to pass it along.
#include <atomic>

namespace corvane {

// Makes `flag` the cancel flag of the calling thread while the scope lasts.
class CCancelScope {
public:
    explicit CCancelScope(const std::atomic<bool>* flag);
    ~CCancelScope();
    CCancelScope(const CCancelScope&) = delete;
    CCancelScope& operator=(const CCancelScope&) = delete;

    // Whether the work running on the calling thread has been cancelled.
    static bool IsCancelled();

private:
    const std::atomic<bool>* m_pPrevious;
};

} // namespace corvane
