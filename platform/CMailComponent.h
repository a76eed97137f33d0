#pragma once
// "Pelican.CoMailer": the mail automation component, sending one message over SMTP
// with libcurl. It is reached through IDispatch only:
//
//   id  kind          argument  meaning
//    1  property      text      outgoing mail server, "host" or "host:port" (this port wins over id 20)
//    3  property      text      user name; empty means no login
//    2  property put  text      password (write-only)
//    5  property      text      sender address, "addr" or "Name <addr>"
//   15  property      text      subject
//   10  property      boolean   require encryption: true fails the send unless the session switches
//                               to TLS (STARTTLS); false (the default) uses TLS whenever the server
//                               offers it. Port 465 speaks TLS from the first byte (SMTPS) either way.
//   20  property      integer   port, 1..65535, default 25
//   13  method        text      add one recipient, "addr" or "Name <addr>"
//    8  method        none      send the message to the recipients added
//
// Texts are the model's Windows-1252 bytes; the user name and password leave as exactly
// those bytes, as the synchronisation service sends them. A server certificate that does
// not verify ends the send with what failed (unknown issuer, another name, expired), never
// with a fallback to plain text. Failures raise COleDispatchException with a UTF-8 text
// the operator can act on, quoting the project's text and the server's reply; a normal
// return from Send means the server took the message for every recipient. With no
// recipients nothing is sent: the component still connects and logs in, so the server
// and the credentials are checked, and then reports that there was nobody to send to.
#include "platform/IDispatch.h"

#include <cstdint>
#include <string>
#include <vector>

class CMailComponent : public IDispatch {
public:
    static constexpr const char* kProgId = "Pelican.CoMailer";

    enum : DISPID {
        dispidServer = 1,
        dispidPassword = 2,
        dispidUser = 3,
        dispidSender = 5,
        dispidSend = 8,
        dispidRequireTls = 10,
        dispidAddRecipient = 13,
        dispidSubject = 15,
        dispidPort = 20,
    };

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
};
