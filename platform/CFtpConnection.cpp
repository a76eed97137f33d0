#include "platform/CFtpConnection.h"

#include "platform/CInternetException.h"

bool CFtpConnection::SetCurrentDirectory(const std::string& path) {
    if (!m_pSession || !m_pSession->IsOpen()) {
        m_strLastError = "The FTP session is not open.";
        return false;
    }
    try {
        m_pSession->ChangeDirectory(path);
        return true;
    } catch (const CInternetException& e) {
        m_strLastError = e.GetErrorMessage();
        return false;
    }
}

void CFtpConnection::Close() {
    if (m_pSession)
        m_pSession->Close();
}
