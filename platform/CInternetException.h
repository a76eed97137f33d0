#pragma once
// A failure of the built-in internet client (or of the FTP core below it), with the
// text the operator reads: the library's own description plus the server's last reply.
#include <stdexcept>
#include <string>

class CInternetException : public std::runtime_error {
public:
    explicit CInternetException(const std::string& message, long code = 0)
        : std::runtime_error(message), m_dwError(code) {}

    // Windows-1252 text, never empty.
    std::string GetErrorMessage() const { return what(); }

    // The library's error code (0 when the failure did not come from it).
    long m_dwError;
};
