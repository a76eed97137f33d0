#include "platform/CMailComponent.h"

#include "model/AsciiCase.h"
#include "model/CodePage.h"
#include "platform/CAutomationRegistry.h"
#include "platform/CMailMessage.h"
#include "platform/COleException.h"
#include "platform/CurlSetup.h"
#include "platform/NetTimeouts.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace {

long ConnectMs() {
    return static_cast<long>(corvane::GetNetTimeouts().connect.count());
}
long ResponseMs() {
    return static_cast<long>(corvane::GetNetTimeouts().response.count());
}

constexpr const char* kBody = "This is a test message from Corvane, the configurator of the folder\n"
                              "synchronisation service. It was sent to check the mail account through\n"
                              "which the service mails its reports. No reply is needed.\n";

// Failure texts are UTF-8 throughout: they quote the project's Windows-1252 text and the
// server's reply side by side, and only UTF-8 can hold both.
std::string Quoted(const std::string& cp1252) {
    return "\"" + corvane::Cp1252ToUtf8(cp1252) + "\"";
}

using corvane::Trim;

bool HasBlankOrControl(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 0x20 || u == 0x7f;
    });
}

[[noreturn]] void Fail(const std::string& description) {
    throw COleDispatchException(description);
}

// What the server said and what we last asked, read from libcurl's protocol trace, so
// that a failure can name the refused address and quote the server.
struct CSmtpTrace {
    // Verb of the last command sent.
    std::string lastVerb;
    // How many RCPT commands were sent: the last one names recipient rcptCount - 1.
    std::size_t rcptCount = 0;
    // The last complete reply, its lines joined by blanks, and its code.
    std::string lastReply;
    int lastCode = 0;
    // Capabilities from the latest EHLO reply (a new EHLO after STARTTLS replaces them).
    bool authOffered = false;
    bool authSent = false;
    bool inAuthExchange = false;
    // The server answered DATA with 354: a later refusal is of the message itself.
    bool dataStarted = false;
    std::string pendingReply;
    std::string inBuffer;
    std::string outBuffer;
    // Set by the pre-request check when the session must not go on to MAIL FROM.
    std::string abortReason;

    // QUIT ends every session, failed or not; its "221" must not hide the reply that mattered.
    bool quitting = false;
    // The first line, when it is no mail server's greeting (corvane::StartsWithReplyCode).
    std::string otherGreeting;
    bool anyLine = false;

    void OnSent(const std::string& line) {
        if (inAuthExchange || quitting)
            return; // SASL data is never kept
        std::string verb = line.substr(0, line.find(' '));
        std::transform(verb.begin(), verb.end(), verb.begin(), corvane::AsciiUpper);
        if (verb == "QUIT") {
            quitting = true;
            return;
        }
        lastVerb = verb;
        if (verb == "EHLO" || verb == "HELO") {
            authOffered = false;
        } else if (verb == "AUTH") {
            authSent = true;
            inAuthExchange = true;
        } else if (verb == "RCPT") {
            ++rcptCount;
        }
    }

    void OnReceived(const std::string& line) {
        if (!anyLine && !line.empty()) {
            anyLine = true;
            if (!corvane::StartsWithReplyCode(line))
                otherGreeting = line;
        }
        if (line.size() < 3 || quitting)
            return;
        const bool more = line.size() > 3 && line[3] == '-';
        const std::string text = line.size() > 4 ? line.substr(4) : std::string();
        if (lastVerb == "EHLO") {
            std::string upper = text;
            std::transform(upper.begin(), upper.end(), upper.begin(), corvane::AsciiUpper);
            if (upper.rfind("AUTH ", 0) == 0 || upper.rfind("AUTH=", 0) == 0)
                authOffered = true;
        }
        pendingReply += pendingReply.empty() ? line : " " + text;
        if (more)
            return;
        lastReply = pendingReply;
        pendingReply.clear();
        lastCode = std::atoi(line.substr(0, 3).c_str());
        if (inAuthExchange && lastCode != 334)
            inAuthExchange = false;
        if (lastVerb == "DATA" && lastCode == 354)
            dataStarted = true;
    }

    static void Feed(std::string& buffer, const char* data, std::size_t size, CSmtpTrace& trace, bool sent) {
        buffer.append(data, size);
        std::size_t eol;
        while ((eol = buffer.find('\n')) != std::string::npos) {
            std::string line = buffer.substr(0, eol);
            buffer.erase(0, eol + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (sent)
                trace.OnSent(line);
            else
                trace.OnReceived(line);
        }
    }
};

int DebugCallback(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    auto* trace = static_cast<CSmtpTrace*>(user);
    if (type == CURLINFO_HEADER_OUT)
        CSmtpTrace::Feed(trace->outBuffer, data, size, *trace, true);
    else if (type == CURLINFO_HEADER_IN)
        CSmtpTrace::Feed(trace->inBuffer, data, size, *trace, false);
    return 0;
}

// Ends the session as soon as the other end has shown it is no mail server.
int ProgressCallback(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const CSmtpTrace*>(user)->otherGreeting.empty() ? 0 : 1;
}

struct CPrereqContext {
    CSmtpTrace* trace;
    const std::string* user;
    const std::string* server;
};

// Runs after the greeting, EHLO, STARTTLS and login, before MAIL FROM. libcurl skips the
// login quietly when the server offers no AUTH; a set user name must not be dropped so.
int PrereqCallback(void* user, char*, char*, int, int) {
    auto* ctx = static_cast<CPrereqContext*>(user);
    if (!ctx->user->empty() && !ctx->trace->authSent) {
        ctx->trace->abortReason = "The mail server " + Quoted(*ctx->server) +
                                  " does not offer a login (no AUTH), so the user name " +
                                  Quoted(*ctx->user) +
                                  " cannot be used. Nothing was sent. Clear the user name to send without a "
                                  "login, or use a server that accepts it.";
        return CURL_PREREQFUNC_ABORT;
    }
    return CURL_PREREQFUNC_OK;
}

struct CUpload {
    const std::string* data;
    std::size_t pos = 0;
};

std::size_t ReadCallback(char* buffer, std::size_t size, std::size_t items, void* user) {
    auto* up = static_cast<CUpload*>(user);
    const std::size_t n = std::min(size * items, up->data->size() - up->pos);
    std::memcpy(buffer, up->data->data() + up->pos, n);
    up->pos += n;
    return n;
}

std::size_t DiscardCallback(char*, std::size_t size, std::size_t items, void*) {
    return size * items;
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

const std::string& TextArg(const std::vector<CVariant>& args) {
    if (args.size() != 1)
        throw COleException("Invalid number of parameters.");
    if (const auto* s = std::get_if<std::string>(&args[0]))
        return *s;
    throw COleException("Type mismatch.");
}

} // namespace

void CMailComponent::Register() {
    CAutomationRegistry::Register(kProgId, [] { return std::make_shared<CMailComponent>(); });
}

CVariant CMailComponent::Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) {
    std::string* text = nullptr;
    switch (id) {
    case dispidServer:
        text = &m_strServer;
        break;
    case dispidUser:
        text = &m_strUser;
        break;
    case dispidSender:
        text = &m_strSender;
        break;
    case dispidSubject:
        text = &m_strSubject;
        break;
    case dispidPassword:
        if (kind != InvokeKind::propertyPut)
            throw COleException("The password can only be set.");
        m_strPassword = TextArg(args);
        return {};
    case dispidRequireTls:
        if (kind == InvokeKind::propertyGet)
            return m_bRequireTls;
        if (kind != InvokeKind::propertyPut || args.size() != 1)
            throw COleException("Invalid number of parameters.");
        if (const auto* b = std::get_if<bool>(&args[0]))
            m_bRequireTls = *b;
        else
            throw COleException("Type mismatch.");
        return {};
    case dispidPort:
        if (kind == InvokeKind::propertyGet)
            return m_nPort;
        if (kind != InvokeKind::propertyPut || args.size() != 1)
            throw COleException("Invalid number of parameters.");
        if (const auto* n = std::get_if<std::int32_t>(&args[0]))
            m_nPort = *n;
        else if (const auto* s = std::get_if<std::int16_t>(&args[0]))
            m_nPort = static_cast<std::uint16_t>(*s); // the port's 16 bits, whatever their sign

        else
            throw COleException("Type mismatch.");
        return {};
    case dispidAddRecipient:
        if (kind != InvokeKind::method)
            throw COleException("Member not found.");
        m_arrRecipients.push_back(TextArg(args));
        return {};
    case dispidSend:
        if (kind != InvokeKind::method)
            throw COleException("Member not found.");
        if (!args.empty())
            throw COleException("Invalid number of parameters.");
        Send();
        return {};
    default:
        throw COleException("Unknown name: the mail component has no member with dispatch id " +
                            std::to_string(id) + ".");
    }
    if (kind == InvokeKind::propertyGet)
        return *text;
    if (kind != InvokeKind::propertyPut)
        throw COleException("Member not found.");
    *text = TextArg(args);
    return {};
}

void CMailComponent::Send() {
    // The project's text is Windows-1252; libcurl and failure texts get UTF-8.
    const std::string server = Trim(m_strServer);
    if (server.empty())
        Fail("No mail server is set.");
    std::string host;
    std::int32_t port = m_nPort;
    SplitServer(server, host, port);
    if (host.empty() || HasBlankOrControl(host) || host.find_first_of("/?#@") != std::string::npos)
        Fail("The mail server " + Quoted(server) + " is not a valid host name.");
    if (port < 1 || port > 65535)
        Fail("The port number " + std::to_string(port) + " is not valid: it must be from 1 to 65535.");

    const std::string sender = CMailMessage::AddressOf(m_strSender);
    if (sender.empty())
        Fail("No sender address is set.");
    if (HasBlankOrControl(sender))
        Fail("The sender address " + Quoted(Trim(m_strSender)) + " is not a valid mail address.");
    std::vector<std::string> recipients;
    for (const auto& r : m_arrRecipients) {
        const std::string address = CMailMessage::AddressOf(r);
        if (address.empty() || HasBlankOrControl(address))
            Fail("The recipient " + Quoted(Trim(r)) + " is not a valid mail address.");
        recipients.push_back(address);
    }

    CMailMessage message;
    message.m_strFrom = m_strSender;
    message.m_arrTo = m_arrRecipients;
    message.m_strSubject = m_strSubject;
    message.m_strBody = kBody;
    std::string idDomain = CMailMessage::DomainOf(sender);
    if (idDomain.empty() || HasBlankOrControl(idDomain) ||
        idDomain.find_first_of("<>[]") != std::string::npos)
        idDomain = LocalHostName();
    const std::string text = message.Format(std::time(nullptr), corvane::Cp1252ToUtf8(idDomain));

    // Sends run on worker threads; the library's global set-up must not race there.
    corvane::InitCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        Fail("The mail component could not start its network library.");
    CURL* h = curl.get();

    const std::string hostUtf8 = corvane::Cp1252ToUtf8(host);
    const bool v6 = hostUtf8.find(':') != std::string::npos;
    // The URL's path is the name we greet the server with.
    const bool implicitTls = port == m_nImplicitTlsPort;
    const std::string url = (implicitTls ? "smtps://" : "smtp://") + (v6 ? "[" + hostUtf8 + "]" : hostUtf8) +
                            ":" + std::to_string(port) + "/" + LocalHostName();
    const std::string from = "<" + corvane::Cp1252ToUtf8(sender) + ">";
    curl_slist* rcpt = nullptr;
    for (const auto& r : recipients)
        rcpt = curl_slist_append(rcpt, ("<" + corvane::Cp1252ToUtf8(r) + ">").c_str());
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> rcptList(rcpt, &curl_slist_free_all);

    CSmtpTrace trace;
    const std::string user = Trim(m_strUser);
    CPrereqContext prereq{&trace, &user, &server};
    CUpload upload{&text};
    char errbuf[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectMs()));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     static_cast<long>(std::max(1L, (ResponseMs() + 999) / 1000)));
    curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(m_bRequireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!m_strCaFile.empty())
        curl_easy_setopt(h, CURLOPT_CAINFO, m_strCaFile.c_str());
    if (!user.empty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, m_strPassword.c_str());
    }
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, DebugCallback);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &trace);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, ProgressCallback);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &trace);
    curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, PrereqCallback);
    curl_easy_setopt(h, CURLOPT_PREREQDATA, &prereq);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, DiscardCallback);
    if (recipients.empty()) {
        // Connect, greet and log in only: libcurl would otherwise turn a transfer without
        // recipients into a HELP command and report success.
        curl_easy_setopt(h, CURLOPT_CONNECT_ONLY, 1L);
    } else {
        curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.c_str());
        curl_easy_setopt(h, CURLOPT_MAIL_RCPT, rcptList.get());
        curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadCallback);
        curl_easy_setopt(h, CURLOPT_READDATA, &upload);
        curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(text.size()));
    }

    const CURLcode rc = curl_easy_perform(h);
    if (rc == CURLE_OK && recipients.empty()) {
        // CONNECT_ONLY stops before the pre-request check, so the login is checked here.
        if (!user.empty() && !trace.authSent) {
            PrereqCallback(&prereq, nullptr, nullptr, 0, 0);
            Fail(trace.abortReason);
        }
        Fail("No recipients were given, so no message was sent. The connection to the mail server " +
             Quoted(server) + (user.empty() ? std::string() : " and the login") + " worked.");
    }
    if (rc == CURLE_OK)
        return;

    // A relay may answer in its own language; its bytes are read as a remote name is.
    const std::string reply = corvane::RemoteNameToUtf8(trace.lastReply);
    const std::string said = reply.empty() ? std::string() : " The server said: " + reply;
    const std::string where = "the mail server " + Quoted(server) + " on port " + std::to_string(port);
    long osErrno = 0;
    curl_easy_getinfo(h, CURLINFO_OS_ERRNO, &osErrno);
    curl_off_t connectUs = 0;
    curl_easy_getinfo(h, CURLINFO_CONNECT_TIME_T, &connectUs);
    curl_off_t totalUs = 0;
    curl_easy_getinfo(h, CURLINFO_TOTAL_TIME_T, &totalUs);

    if (!trace.abortReason.empty())
        Fail(trace.abortReason);
    if (!trace.otherGreeting.empty())
        Fail("The answer of " + where + " is not a mail server's. It said: \"" +
             corvane::RemoteNameToUtf8(trace.otherGreeting) + "\".");
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
        Fail("The mail server " + Quoted(server) + " was not found: the host name is unknown.");
    case CURLE_COULDNT_CONNECT:
        if (osErrno == ECONNREFUSED)
            Fail("Could not connect to " + where + ": the connection was refused.");
        Fail("Could not connect to " + where + ": " +
             (osErrno ? std::strerror(static_cast<int>(osErrno)) : errbuf) + ".");
    case CURLE_OPERATION_TIMEDOUT: {
        if (connectUs == 0)
            Fail("Could not connect to " + where + " within " + std::to_string((ConnectMs() + 999) / 1000) +
                 " seconds.");
        const long waited = std::lround(static_cast<double>(totalUs - connectUs) / 1e6);
        Fail("The mail server " + Quoted(server) + " did not answer within " + std::to_string(waited) +
             (waited == 1 ? " second." : " seconds."));
    }
    case CURLE_LOGIN_DENIED:
        if (trace.lastVerb == "AUTH" && trace.lastCode >= 400)
            Fail("The mail server rejected the user name " + Quoted(user) + " or its password." + said);
        Fail("Could not log in to the mail server " + Quoted(server) + " as " + Quoted(user) + ": " + errbuf +
             "." + said);
    case CURLE_USE_SSL_FAILED:
        Fail("The mail server " + Quoted(server) + " does not offer an encrypted connection (STARTTLS).");
    case CURLE_PEER_FAILED_VERIFICATION: {
        long verifyResult = 0;
        curl_easy_getinfo(h, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
        Fail(CertificateFailure(server, verifyResult, errbuf));
    }
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        Fail("The encrypted connection to the mail server " + Quoted(server) + " failed: " + errbuf + ".");
    default:
        break;
    }
    if (trace.lastCode >= 400) {
        if (trace.lastVerb == "MAIL") {
            if (trace.lastCode == 530)
                Fail("The mail server requires a login: set the user name and password." + said);
            Fail("The mail server refused the sender " + Quoted(sender) + "." + said);
        }
        if (trace.lastVerb == "RCPT" && trace.rcptCount >= 1 && trace.rcptCount <= recipients.size())
            Fail("The mail server refused the recipient " + Quoted(recipients[trace.rcptCount - 1]) +
                 ". Nothing was sent." + said);
        if (trace.lastVerb == "DATA" && trace.dataStarted)
            Fail("The mail server refused the message." + said);
        if (trace.lastVerb == "DATA")
            Fail("The mail server accepted none of the recipients." + said);
        if (trace.lastVerb.empty())
            Fail("The mail server " + Quoted(server) + " refused the session." + said);
        if (trace.lastVerb == "STARTTLS")
            Fail("The mail server " + Quoted(server) + " could not start an encrypted connection." + said);
    }
    if (rc == CURLE_GOT_NOTHING || rc == CURLE_RECV_ERROR || rc == CURLE_SEND_ERROR)
        Fail("The connection to " + where + " was closed unexpectedly." + said);
    Fail("The message could not be sent through " + where + ": " +
         (errbuf[0] ? errbuf : curl_easy_strerror(rc)) + "." + said);
}
