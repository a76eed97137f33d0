#include "platform/CMailer.h"

#include "platform/COleException.h"
#include "platform/MailerDispIds.h"

namespace {

template <class T> T As(const CVariant& value) {
    if (const T* typed = std::get_if<T>(&value))
        return *typed;
    throw COleException("Type mismatch.");
}

} // namespace

void CMailer::Create() {
    std::string error;
    if (!CreateDispatch(comailer::kProgId, &error))
        throw COleException(error);
}

void CMailer::SetServer(const std::string& hostOrHostPort) {
    SetProperty(comailer::dispidServer, hostOrHostPort);
}
std::string CMailer::GetServer() {
    return As<std::string>(GetProperty(comailer::dispidServer));
}
void CMailer::SetUser(const std::string& user) {
    SetProperty(comailer::dispidUser, user);
}
std::string CMailer::GetUser() {
    return As<std::string>(GetProperty(comailer::dispidUser));
}
void CMailer::SetPassword(const std::string& password) {
    SetProperty(comailer::dispidPassword, password);
}
void CMailer::SetSender(const std::string& address) {
    SetProperty(comailer::dispidSender, address);
}
std::string CMailer::GetSender() {
    return As<std::string>(GetProperty(comailer::dispidSender));
}
void CMailer::SetSubject(const std::string& subject) {
    SetProperty(comailer::dispidSubject, subject);
}
std::string CMailer::GetSubject() {
    return As<std::string>(GetProperty(comailer::dispidSubject));
}
void CMailer::SetRequireTls(bool require) {
    SetProperty(comailer::dispidRequireTls, require);
}
bool CMailer::GetRequireTls() {
    return As<bool>(GetProperty(comailer::dispidRequireTls));
}
void CMailer::SetPort(std::int32_t port) {
    SetProperty(comailer::dispidPort, port);
}
std::int32_t CMailer::GetPort() {
    return As<std::int32_t>(GetProperty(comailer::dispidPort));
}
void CMailer::AddRecipient(const std::string& address) {
    InvokeHelper(comailer::dispidAddRecipient, InvokeKind::method, {address});
}
void CMailer::Send() {
    InvokeHelper(comailer::dispidSend, InvokeKind::method);
}
bool CMailer::GetPlainLogin() {
    return As<bool>(GetProperty(comailer::dispidPlainLogin));
}
