#pragma once
// Every network call of the program waits at most this long, so that a peer that
// never answers ends in an error like any other failure instead of hanging a window.
// The values live here only; tests lower them to keep fault cases quick.
#include <atomic>
#include <chrono>

namespace corvane {

struct NetTimeouts {
    // From the start of a connection until the server's greeting (DNS, TCP, proxy handshake).
    std::chrono::milliseconds connect{15000};
    // Longest wait for one server reply, and longest stall of a running data transfer.
    std::chrono::milliseconds response{30000};
};

inline constexpr NetTimeouts kDefaultNetTimeouts{};

namespace detail {
inline std::atomic<long long> g_connectTimeoutMs{kDefaultNetTimeouts.connect.count()};
inline std::atomic<long long> g_responseTimeoutMs{kDefaultNetTimeouts.response.count()};
} // namespace detail

inline NetTimeouts GetNetTimeouts() {
    return {std::chrono::milliseconds(detail::g_connectTimeoutMs.load()),
            std::chrono::milliseconds(detail::g_responseTimeoutMs.load())};
}

// Applies to sessions opened afterwards.
inline void SetNetTimeouts(const NetTimeouts& timeouts) {
    detail::g_connectTimeoutMs = timeouts.connect.count();
    detail::g_responseTimeoutMs = timeouts.response.count();
}

} // namespace corvane
