#include "platform/TestMessage.h"

#include "model/CMailAccount.h"
#include "model/CodePage.h"
#include "platform/CMailer.h"
#include "platform/COleException.h"

namespace corvane {

std::string SendTestMessage(const CMailAccount& account) {
    CMailer mailer;
    mailer.Create();
    mailer.SetServer(Trim(account.m_strServer));
    mailer.SetUser(Trim(account.m_strUser));
    mailer.SetPassword(Trim(account.m_strPassword));
    mailer.SetSender(Trim(account.m_strFrom));
    mailer.SetSubject(Trim(account.m_strSubject));
    mailer.SetRequireTls(false);
    // Without it every test would go to port 25.
    mailer.SetPort(account.m_nPort);
    for (const std::string& recipient : account.m_arrRecipients)
        mailer.AddRecipient(Trim(recipient));
    mailer.Send();
    bool plainLogin = false;
    try {
        plainLogin = mailer.GetPlainLogin();
    } catch (const COleException&) {
        // A component without this member cannot tell.
    }
    return plainLogin ? kPlainLoginNotice : std::string();
}

} // namespace corvane
