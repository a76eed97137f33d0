#pragma once
// One logged-in FTP connection of the built-in client (made by CInternetSession).
#include "platform/CFtpSession.h"

#include <memory>
#include <string>
#include <vector>

class CFtpConnection {
public:
    explicit CFtpConnection(std::unique_ptr<CFtpSession> session) : m_pSession(std::move(session)) {}
    CFtpConnection(const CFtpConnection&) = delete;
    CFtpConnection& operator=(const CFtpConnection&) = delete;
    ~CFtpConnection() { Close(); }

    // False when the server refuses the folder; the reason is then in GetLastErrorText().
    bool SetCurrentDirectory(const std::string& path);
    // Ends the session (QUIT). Further calls fail.
    void Close();

    // The text of the last failure of a call that reports failure as false.
    const std::string& GetLastErrorText() const { return m_strLastError; }

    // The session's transcript and the passive address warnings of its login (CFtpSession).
    const std::vector<std::string>& GetTranscript() const { return m_pSession->GetTranscript(); }
    const std::vector<std::string>& GetWarnings() const { return m_pSession->GetWarnings(); }
    // What the last listing could not read, in words; empty when it read every line.
    const std::string& GetListingNote() const { return m_pSession->GetListingNote(); }

private:
    friend class CFtpFileFind;
    std::unique_ptr<CFtpSession> m_pSession;
    std::string m_strLastError;
};
