#include "platform/TestMessage.h"

#include "model/CMailAccount.h"
#include "model/CodePage.h"
#include "platform/CMailComponent.h"
#include "platform/COleDispatchDriver.h"
#include "platform/COleException.h"

namespace corvane {

void SendTestMessage(const CMailAccount& account) {
    COleDispatchDriver mailer;
    std::string error;
    if (!mailer.CreateDispatch(CMailComponent::kProgId, &error))
        throw COleException(error);
    mailer.SetProperty(CMailComponent::dispidServer, Trim(account.m_strServer));
    mailer.SetProperty(CMailComponent::dispidUser, Trim(account.m_strUser));
    mailer.SetProperty(CMailComponent::dispidPassword, Trim(account.m_strPassword));
    mailer.SetProperty(CMailComponent::dispidSender, Trim(account.m_strFrom));
    mailer.SetProperty(CMailComponent::dispidSubject, Trim(account.m_strSubject));
    mailer.SetProperty(CMailComponent::dispidRequireTls, false);
    // Without it every test would go to port 25.
    mailer.SetProperty(CMailComponent::dispidPort, account.m_nPort);
    for (const std::string& recipient : account.m_arrRecipients)
        mailer.InvokeHelper(CMailComponent::dispidAddRecipient, InvokeKind::method, {Trim(recipient)});
    mailer.InvokeHelper(CMailComponent::dispidSend, InvokeKind::method);
}

} // namespace corvane
