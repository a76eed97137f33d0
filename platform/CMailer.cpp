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
void CMailer::SetUser(const std::string& user) {
    SetProperty(comailer::dispidUser, user);
}
void CMailer::SetPassword(const std::string& password) {
    SetProperty(comailer::dispidPassword, password);
}
void CMailer::SetSender(const std::string& address) {
    SetProperty(comailer::dispidSender, address);
}
void CMailer::SetSubject(const std::string& subject) {
    SetProperty(comailer::dispidSubject, subject);
}
void CMailer::SetRequireTls(bool require) {
    SetProperty(comailer::dispidRequireTls, require);
}
void CMailer::SetPort(std::int32_t port) {
    SetProperty(comailer::dispidPort, port);
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
