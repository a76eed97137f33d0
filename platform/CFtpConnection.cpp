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

bool CFtpConnection::GetCurrentDirectory(std::string& path) const {
    if (!m_pSession || !m_pSession->IsOpen())
        return false;
    path = m_pSession->GetCurrentDirectory();
    return true;
}

void CFtpConnection::Close() {
    if (m_pSession)
        m_pSession->Close();
}
