#pragma once
// A failure of the built-in internet client (or of the FTP core below it), with the
// text the operator reads: the library's own description plus the server's last reply.
#include <stdexcept>
#include <string>

class CInternetException : public std::runtime_error {
public:
    // Failures found by our own checks rather than by the network library, whose codes
    // are all below 1000. The FTP component passes them on as its error codes.
    enum : long {
        // A listing with lines of which none reads as an entry (not an empty folder).
        listingUnreadable = 1001,
        // A listing over the size limit (NetTimeouts::listingMaxBytes).
        listingTooLarge = 1002,
        // A listing that went on past its deadline (NetTimeouts::listing).
        listingTooSlow = 1003,
    };

    explicit CInternetException(const std::string& message, long code = 0)
        : std::runtime_error(message), m_dwError(code) {}

    // Windows-1252 text, never empty.
    std::string GetErrorMessage() const { return what(); }

    // The library's error code, one of ours above, or 0.
    long m_dwError;
};
