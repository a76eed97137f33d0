#include "platform/CMailComponent.h"

#include "model/AsciiCase.h"
#include "model/CodePage.h"
#include "model/SecretText.h"
#include "model/VisibleText.h"
#include "platform/CAutomationRegistry.h"
#include "platform/CCancelScope.h"
#include "platform/CMailMessage.h"
#include "platform/COleException.h"
#include "platform/CSmtpTrace.h"
#include "platform/CurlSetup.h"
#include "platform/NetTimeouts.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

long ConnectMs() {
    return static_cast<long>(corvane::GetNetTimeouts().connect.count());
}
// The wait for each reply, in the whole seconds the library takes.
long ResponseSeconds() {
    return corvane::SecondsRoundedUp(corvane::GetNetTimeouts().response);
}
std::string Seconds(long n) {
    return std::to_string(n) + (n == 1 ? " second" : " seconds");
}

constexpr const char* kBody = "This is a test message from Corvane, the configurator of the folder\n"
                              "synchronisation service. It was sent to check the mail account through\n"
                              "which the service mails its reports. No reply is needed.\n";

// Failure texts are UTF-8 throughout and one line: they quote the project's Windows-1252
// text and the server's reply side by side, and only UTF-8 can hold both.
std::string Quoted(const std::string& cp1252) {
    return "\"" + corvane::VisibleText(corvane::Cp1252ToUtf8(cp1252)) + "\"";
}

using corvane::Trim;

bool HasBlankOrControl(const std::string& s) {
    return s.find(' ') != std::string::npos || corvane::HasControlCharacter(s);
}

[[noreturn]] void Fail(const std::string& description) {
    throw COleDispatchException(description);
}

// The last guard before the wire: a line break in a text would end its command and start
// another that nobody wrote.
void RefuseControlCharacters(const std::string& text, const std::string& what) {
    if (corvane::HasControlCharacter(text))
        Fail(what + " holds a control character (such as a line break), which is never sent to a mail "
                    "server. Nothing was sent.");
}

std::string LocalHostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "localhost";
    std::string host = name;
    const bool plain = std::all_of(host.begin(), host.end(),
                                   [](char c) { return corvane::IsAsciiAlnum(c) || c == '-' || c == '.'; });
    return plain ? host : "localhost";
}

// "host", "host:port", "[v6]", "[v6]:port", or a bare IPv6 literal.
void SplitServer(const std::string& server, std::string& host, std::int32_t& port) {
    host = server;
    if (server.empty())
        return;
    std::string portText;
    if (server.front() == '[') {
        const auto close = server.find(']');
        if (close != std::string::npos && close + 1 < server.size() && server[close + 1] == ':')
            portText = server.substr(close + 2);
        host = server.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else if (std::count(server.begin(), server.end(), ':') == 1) {
        const auto colon = server.find(':');
        portText = server.substr(colon + 1);
        host = server.substr(0, colon);
    }
    if (!portText.empty()) {
        if (!std::all_of(portText.begin(), portText.end(), [](unsigned char c) { return std::isdigit(c); }) ||
            portText.size() > 5)
            Fail("The port in the mail server " + Quoted(server) + " is not a number from 1 to 65535.");
        port = std::atoi(portText.c_str());
    }
}

// The certificate check's verdict (OpenSSL's verify result codes) in the operator's words.
std::string CertificateFailure(const std::string& server, long verifyResult, const std::string& detail) {
    enum : long {
        unableToGetIssuer = 2,
        notYetValid = 9,
        expired = 10,
        selfSigned = 18,
        selfSignedInChain = 19,
        unableToGetIssuerLocally = 20,
        unableToVerifyLeaf = 21,
        revoked = 23,
        hostnameMismatch = 62,
        ipAddressMismatch = 64,
    };
    const std::string what = "The mail server " + Quoted(server);
    const std::string end = " The message was not sent.";
    // The library checks the name itself, after the chain, and says so only in its text.
    if (detail.find("target host name") != std::string::npos)
        verifyResult = hostnameMismatch;
    switch (verifyResult) {
    case unableToGetIssuer:
    case selfSigned:
    case selfSignedInChain:
    case unableToGetIssuerLocally:
    case unableToVerifyLeaf:
        return what + " proved its identity with a certificate whose issuer this system does not trust " +
               "(a self-signed certificate or one from a private authority)." + end;
    case expired:
        return what + " proved its identity with a certificate that has expired." + end;
    case notYetValid:
        return what + " proved its identity with a certificate that is not valid yet (is this computer's " +
               "clock right?)." + end;
    case revoked:
        return what + " proved its identity with a certificate that has been revoked." + end;
    case hostnameMismatch:
    case ipAddressMismatch:
        return what + " proved its identity with a certificate made out for another name." + end;
    default:
        return what + " proved its identity with a certificate that could not be verified: " + detail + "." +
               end;
    }
}

// What one send needs, checked: nothing bound for a command holds a control character.
struct CEnvelope {
    std::string server; // as given, trimmed
    std::string host;
    std::int32_t port = 25;
    std::string user;
    std::string password;
    std::string sender;                  // the address alone
    std::vector<std::string> recipients; // the addresses alone
    std::string message;                 // headers and body, ready to go
};

void CheckServer(CEnvelope& e, const std::string& serverText, std::int32_t port) {
    e.server = Trim(serverText);
    e.port = port;
    if (e.server.empty())
        Fail("No mail server is set.");
    SplitServer(e.server, e.host, e.port);
    if (e.host.empty() || HasBlankOrControl(e.host) || e.host.find_first_of("/?#@") != std::string::npos)
        Fail("The mail server " + Quoted(e.server) + " is not a valid host name.");
    if (e.port < 1 || e.port > 65535)
        Fail("The port number " + std::to_string(e.port) + " is not valid: it must be from 1 to 65535.");
}

void CheckAddresses(CEnvelope& e, const std::string& senderText,
                    const std::vector<std::string>& recipientTexts) {
    RefuseControlCharacters(senderText, "The sender address " + Quoted(Trim(senderText)));
    e.sender = CMailMessage::AddressOf(senderText);
    if (e.sender.empty())
        Fail("No sender address is set.");
    if (HasBlankOrControl(e.sender))
        Fail("The sender address " + Quoted(Trim(senderText)) + " is not a valid mail address.");
    for (const auto& r : recipientTexts) {
        RefuseControlCharacters(r, "The recipient " + Quoted(Trim(r)));
        const std::string address = CMailMessage::AddressOf(r);
        if (address.empty() || HasBlankOrControl(address))
            Fail("The recipient " + Quoted(Trim(r)) + " is not a valid mail address.");
        e.recipients.push_back(address);
    }
}

std::string FormatMessage(const CEnvelope& e, const std::string& senderText,
                          const std::vector<std::string>& recipientTexts, const std::string& subject) {
    CMailMessage message;
    message.m_strFrom = senderText;
    message.m_arrTo = recipientTexts;
    message.m_strSubject = subject;
    message.m_strBody = kBody;
    std::string idDomain = CMailMessage::DomainOf(e.sender);
    if (idDomain.empty() || HasBlankOrControl(idDomain) ||
        idDomain.find_first_of("<>[]") != std::string::npos)
        idDomain = LocalHostName();
    return message.Format(std::time(nullptr), corvane::Cp1252ToUtf8(idDomain));
}

// The server's last reply as the operator reads it: the password masked in every form it
// travelled in, then one visible line (continuation lines without their code).
std::string ServerSaid(const CSmtpTrace& trace, const CEnvelope& e) {
    std::string lines;
    for (const std::string& line : trace.lastReply)
        lines += (lines.empty() ? "" : "\n") + line;
    const std::string passwordUtf8 = corvane::Cp1252ToUtf8(e.password);
    const std::string userToken = e.user.empty() ? std::string() : corvane::Base64(e.user);
    const std::string masked = corvane::MaskSecretsIn(lines, {e.password, passwordUtf8, userToken});
    std::string reply;
    for (std::size_t start = 0; start <= masked.size() && !masked.empty();) {
        const std::size_t eol = std::min(masked.find('\n', start), masked.size());
        std::string line = masked.substr(start, eol - start);
        if (!reply.empty()) {
            const bool coded = line.size() > 4 && std::isdigit(static_cast<unsigned char>(line[0])) &&
                               (line[3] == '-' || line[3] == ' ');
            reply += " " + (coded ? line.substr(4) : line);
        } else {
            reply = line;
        }
        start = eol + 1;
    }
    // A relay may answer in its own language; its bytes are read as a remote name is.
    return corvane::VisibleText(corvane::RemoteNameToUtf8(reply));
}

// One send's state, shared with the library's callbacks.
struct CSession {
    explicit CSession(const CEnvelope& e) : envelope(e) {}
    ~CSession() {
        // The QUIT that cleanup sends finds the read side closed: it goes out, and an
        // unanswered one costs nothing.
        curl_socket_t socket = CURL_SOCKET_BAD;
        if (handle && curl_easy_getinfo(handle.get(), CURLINFO_ACTIVESOCKET, &socket) == CURLE_OK &&
            socket != CURL_SOCKET_BAD)
            ::shutdown(socket, SHUT_RD);
    }
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    // Bytes the server sent so far (libcurl counts them as they arrive, lines or not).
    long Received() const {
        long received = 0;
        curl_easy_getinfo(handle.get(), CURLINFO_HEADER_SIZE, &received);
        return received;
    }
    // Bytes received since the last whole line or command: a line not ended yet.
    long OpenLineBytes() const { return std::max(0L, Received() - receivedAtLastLine); }

    const CEnvelope& envelope;
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> rcpt{nullptr, &curl_slist_free_all};
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle{curl_easy_init(), &curl_easy_cleanup};
    CSmtpTrace trace;
    // Set by the pre-request check when the session must not go on to MAIL FROM.
    std::string abortReason;
    bool replyTooLong = false;
    long receivedAtLastLine = 0;
    std::size_t uploaded = 0;
    char errbuf[CURL_ERROR_SIZE] = {};
};

int DebugCallback(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    auto* session = static_cast<CSession*>(user);
    if (type == CURLINFO_HEADER_OUT)
        session->trace.Sent({data, size});
    else if (type == CURLINFO_HEADER_IN)
        session->trace.Received({data, size});
    else
        return 0;
    session->receivedAtLastLine = session->Received();
    return 0;
}

// Ends the session as soon as the other end has shown it is no mail server, sends more
// than a reply can be, or the operator cancelled the work.
int ProgressCallback(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* session = static_cast<CSession*>(user);
    if (session->trace.tooLong || session->OpenLineBytes() > static_cast<long>(CSmtpTrace::kMaxReplyBytes))
        session->replyTooLong = true;
    return session->replyTooLong || !session->trace.otherGreeting.empty() ||
                   corvane::CCancelScope::IsCancelled()
               ? 1
               : 0;
}

std::string NoLoginOffered(const CEnvelope& e) {
    return "The mail server " + Quoted(e.server) + " does not offer a login (no AUTH), so the user name " +
           Quoted(e.user) +
           " cannot be used. Nothing was sent. Clear the user name to send without a login, or use a server "
           "that accepts it.";
}

// Runs after the greeting, EHLO, STARTTLS and login, before MAIL FROM. libcurl skips the
// login quietly when the server offers no AUTH; a set user name must not be dropped so.
int PrereqCallback(void* user, char*, char*, int, int) {
    auto* session = static_cast<CSession*>(user);
    if (!session->envelope.user.empty() && !session->trace.authSent) {
        session->abortReason = NoLoginOffered(session->envelope);
        return CURL_PREREQFUNC_ABORT;
    }
    return CURL_PREREQFUNC_OK;
}

std::size_t ReadCallback(char* buffer, std::size_t size, std::size_t items, void* user) {
    auto* session = static_cast<CSession*>(user);
    const std::string& data = session->envelope.message;
    const std::size_t n = std::min(size * items, data.size() - session->uploaded);
    std::memcpy(buffer, data.data() + session->uploaded, n);
    session->uploaded += n;
    return n;
}

std::size_t DiscardCallback(char*, std::size_t size, std::size_t items, void*) {
    return size * items;
}

void Configure(CSession& s, bool requireTls, const std::string& caFile, bool implicitTls) {
    const CEnvelope& e = s.envelope;
    CURL* h = s.handle.get();
    const std::string hostUtf8 = corvane::Cp1252ToUtf8(e.host);
    const bool v6 = hostUtf8.find(':') != std::string::npos;
    // The URL's path is the name we greet the server with.
    const std::string url = (implicitTls ? "smtps://" : "smtp://") + (v6 ? "[" + hostUtf8 + "]" : hostUtf8) +
                            ":" + std::to_string(e.port) + "/" + LocalHostName();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, s.errbuf);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, ConnectMs());
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, ResponseSeconds());
    curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(requireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!caFile.empty())
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.c_str());
    if (!e.user.empty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, e.user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, e.password.c_str());
    }
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, DebugCallback);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &s);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, ProgressCallback);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &s);
    curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, PrereqCallback);
    curl_easy_setopt(h, CURLOPT_PREREQDATA, &s);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, DiscardCallback);
    if (e.recipients.empty()) {
        // Connect, greet and log in only: libcurl would otherwise turn a transfer without
        // recipients into a HELP command and report success.
        curl_easy_setopt(h, CURLOPT_CONNECT_ONLY, 1L);
        return;
    }
    for (const auto& r : e.recipients)
        s.rcpt.reset(curl_slist_append(s.rcpt.release(), ("<" + corvane::Cp1252ToUtf8(r) + ">").c_str()));
    const std::string from = "<" + corvane::Cp1252ToUtf8(e.sender) + ">";
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, s.rcpt.get());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadCallback);
    curl_easy_setopt(h, CURLOPT_READDATA, &s);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(e.message.size()));
}

// What went wrong on the way (connection, encryption, timing), or nothing when the
// server's own refusal says more.
std::string TransportFailure(const CSession& s, CURLcode rc) {
    const CEnvelope& e = s.envelope;
    CURL* h = s.handle.get();
    const std::string server = "The mail server " + Quoted(e.server);
    const std::string where = "the mail server " + Quoted(e.server) + " on port " + std::to_string(e.port);
    long osErrno = 0;
    curl_easy_getinfo(h, CURLINFO_OS_ERRNO, &osErrno);
    curl_off_t connectUs = 0;
    curl_easy_getinfo(h, CURLINFO_CONNECT_TIME_T, &connectUs);
    const std::string detail = corvane::VisibleText(s.errbuf[0] ? s.errbuf : curl_easy_strerror(rc));
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return server + " was not found: the host name is unknown.";
    case CURLE_COULDNT_CONNECT:
        if (osErrno == ECONNREFUSED)
            return "Could not connect to " + where + ": the connection was refused.";
        return "Could not connect to " + where + ": " +
               (osErrno ? std::strerror(static_cast<int>(osErrno)) : detail) + ".";
    case CURLE_OPERATION_TIMEDOUT:
        if (connectUs == 0)
            return "Could not connect to " + where + " within " +
                   Seconds(corvane::SecondsRoundedUp(corvane::GetNetTimeouts().connect)) + ".";
        if (const long open = s.OpenLineBytes())
            return server + " answered with " + std::to_string(open) +
                   " bytes that end in no line break (CR LF), as a mail server's reply must, so its reply "
                   "could not be read.";
        if (s.trace.lastVerb == "DATA" && s.trace.dataStarted)
            return server + " received the message but did not confirm it within " +
                   Seconds(ResponseSeconds()) + ", so whether it will be delivered is not known.";
        return server + " did not answer within " + Seconds(ResponseSeconds()) + ".";
    case CURLE_LOGIN_DENIED:
        if (s.trace.lastVerb == "AUTH" && s.trace.lastCode >= 400)
            return "The mail server rejected the user name " + Quoted(e.user) + " or its password.";
        return "Could not log in to the mail server " + Quoted(e.server) + " as " + Quoted(e.user) + ": " +
               detail + ".";
    case CURLE_USE_SSL_FAILED:
        return server + " does not offer an encrypted connection (STARTTLS).";
    case CURLE_PEER_FAILED_VERIFICATION: {
        long verifyResult = 0;
        curl_easy_getinfo(h, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
        return CertificateFailure(e.server, verifyResult, detail);
    }
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        return "The encrypted connection to the mail server " + Quoted(e.server) + " failed: " + detail + ".";
    default:
        return {};
    }
}

// The server's refusal of a step, named by the step; nothing when it refused none.
std::string Refusal(const CSession& s) {
    const CSmtpTrace& t = s.trace;
    const CEnvelope& e = s.envelope;
    if (t.lastCode < 400)
        return {};
    if (t.lastVerb == "MAIL")
        return t.lastCode == 530 ? "The mail server requires a login: set the user name and password."
                                 : "The mail server refused the sender " + Quoted(e.sender) + ".";
    if (t.lastVerb == "RCPT" && t.rcptCount >= 1 && t.rcptCount <= e.recipients.size())
        return "The mail server refused the recipient " + Quoted(e.recipients[t.rcptCount - 1]) +
               ". Nothing was sent.";
    if (t.lastVerb == "DATA")
        return t.dataStarted ? "The mail server refused the message."
                             : "The mail server accepted none of the recipients.";
    if (t.lastVerb.empty())
        return "The mail server " + Quoted(e.server) + " refused the session.";
    if (t.lastVerb == "STARTTLS")
        return "The mail server " + Quoted(e.server) + " could not start an encrypted connection.";
    return {};
}

std::string FailureText(const CSession& s, CURLcode rc) {
    const CEnvelope& e = s.envelope;
    const std::string reply = ServerSaid(s.trace, e);
    const std::string said = reply.empty() ? std::string() : " The server said: " + reply;
    if (!s.abortReason.empty())
        return s.abortReason;
    if (s.replyTooLong)
        return "The mail server " + Quoted(e.server) + " sent a reply longer than " +
               std::to_string(CSmtpTrace::kMaxReplyBytes) +
               " bytes, which was not read on. The session was "
               "ended" +
               (s.trace.messageAccepted ? " after the server took the message." : "; nothing was sent.");
    if (!s.trace.otherGreeting.empty())
        return "The answer of the mail server " + Quoted(e.server) + " on port " + std::to_string(e.port) +
               " is not a mail server's. It said: \"" +
               corvane::VisibleText(corvane::RemoteNameToUtf8(s.trace.otherGreeting)) + "\".";
    if (const std::string transport = TransportFailure(s, rc); !transport.empty())
        return transport + (rc == CURLE_LOGIN_DENIED ? said : std::string());
    if (const std::string refusal = Refusal(s); !refusal.empty())
        return refusal + said;
    const std::string where = "the mail server " + Quoted(e.server) + " on port " + std::to_string(e.port);
    if (rc == CURLE_GOT_NOTHING || rc == CURLE_RECV_ERROR || rc == CURLE_SEND_ERROR)
        return "The connection to " + where + " was closed unexpectedly." + said;
    return "The message could not be sent through " + where + ": " +
           corvane::VisibleText(s.errbuf[0] ? s.errbuf : curl_easy_strerror(rc)) + "." + said;
}

// The one argument of a property put or a method call, of type T.
template <class T> const T& OneArgument(const std::vector<CVariant>& args) {
    if (args.size() != 1)
        throw COleException("Invalid number of parameters.");
    if (const auto* value = std::get_if<T>(&args[0]))
        return *value;
    throw COleException("Type mismatch.");
}

void RequireKind(InvokeKind kind, InvokeKind wanted) {
    if (kind != wanted)
        throw COleException("Member not found.");
}

// Get or put of a property held in `value`.
template <class T> CVariant Property(T& value, InvokeKind kind, const std::vector<CVariant>& args) {
    if (kind == InvokeKind::propertyGet && args.empty())
        return value;
    RequireKind(kind, InvokeKind::propertyPut);
    value = OneArgument<T>(args);
    return {};
}

} // namespace

void CMailComponent::Register() {
    CAutomationRegistry::Register(kProgId, [] { return std::make_shared<CMailComponent>(); });
}

CVariant CMailComponent::Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) {
    using namespace comailer;
    switch (id) {
    case dispidServer:
        return Property(m_strServer, kind, args);
    case dispidUser:
        return Property(m_strUser, kind, args);
    case dispidSender:
        return Property(m_strSender, kind, args);
    case dispidSubject:
        return Property(m_strSubject, kind, args);
    case dispidPassword:
        if (kind != InvokeKind::propertyPut)
            throw COleException("The password can only be set.");
        return Property(m_strPassword, kind, args);
    case dispidRequireTls:
        return Property(m_bRequireTls, kind, args);
    case dispidPort:
        if (kind == InvokeKind::propertyPut && args.size() == 1 &&
            std::holds_alternative<std::int16_t>(args[0])) {
            m_nPort = static_cast<std::uint16_t>(std::get<std::int16_t>(args[0])); // the port's 16 bits
            return {};
        }
        return Property(m_nPort, kind, args);
    case dispidAddRecipient:
        RequireKind(kind, InvokeKind::method);
        m_arrRecipients.push_back(OneArgument<std::string>(args));
        return {};
    case dispidSend:
        RequireKind(kind, InvokeKind::method);
        if (!args.empty())
            throw COleException("Invalid number of parameters.");
        Send();
        return {};
    case dispidPlainLogin:
        RequireKind(kind, InvokeKind::propertyGet);
        return m_bPlainLogin;
    default:
        throw COleException("Unknown name: the mail component has no member with dispatch id " +
                            std::to_string(id) + ".");
    }
}

void CMailComponent::Send() {
    m_bPlainLogin = false;
    CEnvelope envelope;
    CheckServer(envelope, m_strServer, m_nPort);
    envelope.user = Trim(m_strUser);
    RefuseControlCharacters(envelope.user, "The user name " + Quoted(envelope.user));
    envelope.password = m_strPassword;
    RefuseControlCharacters(envelope.password, "The password");
    CheckAddresses(envelope, m_strSender, m_arrRecipients);
    envelope.message = FormatMessage(envelope, m_strSender, m_arrRecipients, m_strSubject);

    // Sends run on worker threads; the library's global set-up must not race there.
    corvane::InitCurlOnce();
    CSession session(envelope);
    if (!session.handle)
        Fail("The mail component could not start its network library.");
    const bool implicitTls = envelope.port == m_nImplicitTlsPort;
    Configure(session, m_bRequireTls, m_strCaFile, implicitTls);
    const CURLcode rc = curl_easy_perform(session.handle.get());
    m_bPlainLogin = session.trace.authSent && !implicitTls && !session.trace.tlsStarted;
    const std::string plainNote =
        m_bPlainLogin
            ? " The password went unencrypted: the server offers no encrypted connection (STARTTLS)."
            : "";
    if (rc == CURLE_OK && envelope.recipients.empty()) {
        // CONNECT_ONLY stops before the pre-request check, so the login is checked here.
        if (!envelope.user.empty() && !session.trace.authSent)
            Fail(NoLoginOffered(envelope));
        Fail("No recipients were given, so no message was sent. The connection to the mail server " +
             Quoted(envelope.server) + (envelope.user.empty() ? std::string() : " and the login") +
             " worked." + plainNote);
    }
    if (rc != CURLE_OK)
        Fail(FailureText(session, rc) + plainNote);
}
