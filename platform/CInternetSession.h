#pragma once
// The built-in internet client's session, in place of the system's own FTP client.
// It reaches servers with the system's preconfigured proxy settings (the environment's
// ftp_proxy / all_proxy / no_proxy, an http:// proxy always as a CONNECT tunnel), never
// with the project's proxy.
#include "platform/CFtpConnection.h"

#include <memory>
#include <string>
#include <vector>

class CInternetSession {
public:
    CInternetSession() = default;
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // Connects and logs in. Port 0 means the standard port 21 (the system client's rule).
    // Throws CInternetException with a readable text.
    std::unique_ptr<CFtpConnection> GetFtpConnection(const std::string& host, const std::string& user,
                                                     const std::string& password, int port = 21,
                                                     bool passive = false);

    // The transcript of the last attempt that failed to connect (the connection is gone).
    const std::vector<std::string>& GetFailedTranscript() const { return m_arrFailedTranscript; }

private:
    std::vector<std::string> m_arrFailedTranscript;
};
