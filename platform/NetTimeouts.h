#pragma once
// Every network call of the program waits at most this long, so that a peer that
// never answers ends in an error like any other failure instead of hanging a window.
// The values live here only; tests lower them (ScopedNetTimeouts) to keep fault cases quick.
#include <chrono>
#include <cstddef>
#include <mutex>

namespace corvane {

struct NetTimeouts {
    // From the start of a connection until the server's greeting (DNS, TCP, proxy handshake).
    std::chrono::milliseconds connect{15000};
    // Longest wait for one server reply, and longest stall of a running data transfer.
    std::chrono::milliseconds response{30000};
    // A whole folder listing, however steadily a server trickles it.
    std::chrono::milliseconds listing{120000};
    // The largest folder listing taken in: a server sending without end must not fill the memory.
    std::size_t listingMaxBytes = std::size_t{64} << 20;
};

inline constexpr NetTimeouts kDefaultNetTimeouts{};

// A limit in whole seconds, rounded up and at least one, for the settings that take seconds.
inline long SecondsRoundedUp(std::chrono::milliseconds limit) {
    const long seconds = static_cast<long>((limit.count() + 999) / 1000);
    return seconds < 1 ? 1 : seconds;
}

namespace detail {
inline std::mutex g_netTimeoutsMutex;
inline NetTimeouts g_netTimeouts = kDefaultNetTimeouts;
} // namespace detail

inline NetTimeouts GetNetTimeouts() {
    std::lock_guard lock(detail::g_netTimeoutsMutex);
    return detail::g_netTimeouts;
}

// Applies to sessions opened afterwards.
inline void SetNetTimeouts(const NetTimeouts& timeouts) {
    std::lock_guard lock(detail::g_netTimeoutsMutex);
    detail::g_netTimeouts = timeouts;
}

// Other limits for as long as it lives; the previous ones come back at its end, also when
// a test stops half-way through.
class ScopedNetTimeouts {
public:
    explicit ScopedNetTimeouts(const NetTimeouts& timeouts) : m_saved(GetNetTimeouts()) {
        SetNetTimeouts(timeouts);
    }
    ~ScopedNetTimeouts() { SetNetTimeouts(m_saved); }
    ScopedNetTimeouts(const ScopedNetTimeouts&) = delete;
    ScopedNetTimeouts& operator=(const ScopedNetTimeouts&) = delete;

private:
    NetTimeouts m_saved;
};

} // namespace corvane
