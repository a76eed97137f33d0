#include "platform/CInternetSession.h"

#include "platform/CInternetException.h"

std::unique_ptr<CFtpConnection> CInternetSession::GetFtpConnection(const std::string& host,
                                                                   const std::string& user,
                                                                   const std::string& password, int port,
                                                                   bool passive) {
    CFtpSessionOptions options;
    options.strHost = host;
    options.nPort = static_cast<std::uint16_t>(port);
    options.strUser = user;
    options.strPassword = password;
    options.bPassive = passive;
    options.proxy = CFtpSessionOptions::Proxy::environment;
    auto session = std::make_unique<CFtpSession>();
    m_arrFailedTranscript.clear();
    try {
        session->Open(options);
    } catch (const CInternetException&) {
        m_arrFailedTranscript = session->GetTranscript();
        throw;
    }
    return std::make_unique<CFtpConnection>(std::move(session));
}
