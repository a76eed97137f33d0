#pragma once
// "Pelican.CoMailer": the mail automation component, sending one message over SMTP
// with libcurl. It is reached through IDispatch only; its members and their types are
// in MailerDispIds.h, and CMailer calls them typed.
//
// Require encryption true fails the send unless the session switches to TLS (STARTTLS);
// false (the default) uses TLS whenever the server offers it. The port that speaks TLS
// from the first byte (465, SMTPS) is encrypted either way.
//
// Texts are the model's Windows-1252 bytes; the user name and password leave as exactly
// those bytes, as the synchronisation service sends them. None of the texts may hold a
// control character (a line break would start a command of its own): such a send fails
// before connecting. A server certificate that does not verify ends the send with what
// failed (unknown issuer, another name, expired), never with a fallback to plain text.
// Failures raise COleDispatchException with a UTF-8 text the operator can act on,
// quoting the project's text and the server's reply, the reply shown visibly
// (corvane::VisibleText) with the password masked in every form (SecretText.h); a normal
// return from Send means the server took the message for every recipient. With no
// recipients nothing is sent: the component still connects and logs in, so the server
// and the credentials are checked, and then reports that there was nobody to send to.
// The QUIT that ends a session is sent but never waited for.
#include "platform/IDispatch.h"
#include "platform/MailerDispIds.h"

#include <cstdint>
#include <string>
#include <vector>

class CMailComponent : public IDispatch {
public:
    static constexpr const char* kProgId = comailer::kProgId;

    // Registers the factory under kProgId.
    static void Register();

    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override;

    // Trust anchors for a server certificate, in place of the system's (tests only).
    void SetCaFile(std::string path) { m_strCaFile = std::move(path); }
    // The port that speaks TLS from the first byte, in place of 465 (tests only: they
    // cannot listen there).
    void SetImplicitTlsPort(std::int32_t port) { m_nImplicitTlsPort = port; }

private:
    void Send();

    std::string m_strServer;
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strSender;
    std::string m_strSubject;
    bool m_bRequireTls = false;
    std::int32_t m_nPort = 25;
    std::vector<std::string> m_arrRecipients;
    std::string m_strCaFile;
    std::int32_t m_nImplicitTlsPort = 465;
    bool m_bPlainLogin = false;
};
