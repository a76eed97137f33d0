#include "platform/CFtpSession.h"

#include "model/AsciiCase.h"
#include "model/SecretText.h"
#include "platform/CInternetException.h"
#include "platform/CurlSetup.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <type_traits>

namespace {

CURL* Handle(void* p) {
    return static_cast<CURL*>(p);
}

// The system's own client takes its proxy from these; none set means a direct connection.
bool EnvironmentNamesAProxy() {
    for (const char* name : {"ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY"})
        if (const char* value = std::getenv(name); value && *value)
            return true;
    return false;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), s.begin(),
                      [](char a, char b) { return corvane::AsciiLower(a) == corvane::AsciiLower(b); });
}

// A command or request header line as the transcript keeps it: credentials masked.
std::string ForTranscript(std::string line) {
    if (StartsWithNoCase(line, "PASS ") || line == "PASS") {
        const std::string masked = corvane::MaskSecret(line.size() > 5 ? line.substr(5) : std::string());
        return masked.empty() ? std::string("PASS") : "PASS " + masked;
    }
    // "Proxy-Authorization: Basic dXNlcjpwYXNz": the scheme stays, the credentials go.
    const auto colon = line.find(':');
    if (colon != std::string::npos && colon >= 13 &&
        StartsWithNoCase(std::string_view(line).substr(colon - 13), "authorization")) {
        const auto value = line.find_first_not_of(' ', colon + 1);
        const auto blank = value == std::string::npos ? value : line.find(' ', value);
        if (blank == std::string::npos)
            return line.substr(0, colon + 1) + " " + corvane::MaskSecret(line.substr(colon + 1));
        return line.substr(0, blank + 1) + corvane::MaskSecret(line.substr(blank + 1));
    }
    return line;
}

std::string SizeText(std::size_t bytes) {
    if (bytes >= (std::size_t{1} << 20) && bytes % (std::size_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

std::string TrimLine(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' '))
        s.remove_suffix(1);
    return std::string(s);
}

// Host names go into the URL: refuse anything that could change its meaning.
bool IsSafeHost(const std::string& host) {
    if (host.empty())
        return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b > 0x20 && b < 0x7F && c != '/' && c != '\\' && c != '?' && c != '#' && c != '@' && c != '%';
    });
}

std::string HostForUrl(const std::string& host) {
    if (host.find(':') != std::string::npos && host.front() != '[')
        return "[" + host + "]";
    return host;
}

} // namespace

CFtpSession::CFtpSession() {
    corvane::InitCurlOnce();
}

CFtpSession::~CFtpSession() {
    Close();
}

int CFtpSession::DebugCallback(void*, int type, char* data, std::size_t size, void* self) {
    auto* s = static_cast<CFtpSession*>(self);
    const std::string_view text(data, size);
    if (type == CURLINFO_HEADER_IN) {
        std::string line = TrimLine(text);
        if (!line.empty()) {
            // Through a proxy its own HTTP or SOCKS words come first.
            if (s->m_arrReplies.empty() && s->m_bDirect && !corvane::StartsWithReplyCode(line))
                s->m_bNotFtp = true;
            s->m_strLastReply = line;
            s->m_arrReplies.push_back(std::move(line));
        }
    } else if (type == CURLINFO_HEADER_OUT) {
        // One FTP command, or a whole proxy request with its headers.
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t eol = std::min(text.find('\n', pos), text.size());
            std::string line = TrimLine(text.substr(pos, eol - pos));
            if (!line.empty())
                s->m_arrCommands.push_back(ForTranscript(std::move(line)));
            pos = eol + 1;
        }
    }
    return 0;
}

// The callback is declared without the library's header; the types must agree.
static_assert(std::is_same_v<curl_off_t, std::int64_t>);

int CFtpSession::ProgressCallback(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {
    return static_cast<CFtpSession*>(self)->m_bNotFtp ? 1 : 0;
}

std::size_t CFtpSession::WriteCallback(char* data, std::size_t size, std::size_t count, void* self) {
    auto* s = static_cast<CFtpSession*>(self);
    if (s->m_strBody.size() + size * count > s->m_limits.listingMaxBytes) {
        s->m_bBodyTooLarge = true;
        return 0; // ends the transfer
    }
    s->m_strBody.append(data, size * count);
    return size * count;
}

std::string CFtpSession::PlainFailure(int code) const {
    // A server or a port mistaken for another is the usual first-day failure; the library's
    // own words ("with 0 bytes received", "Couldn't connect to server") do not say which.
    CURL* curl = Handle(m_pCurl);
    const std::string port = std::to_string(m_options.nPort ? m_options.nPort : 21);
    const std::string server = "the server \"" + m_options.strHost + "\" on port " + port;
    curl_off_t connectUs = 0, totalUs = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectUs);
    curl_easy_getinfo(curl, CURLINFO_TOTAL_TIME_T, &totalUs);
    const long seconds = std::max(1L, std::lround(static_cast<double>(totalUs) / 1e6));
    const std::string within =
        " within " + std::to_string(seconds) + (seconds == 1 ? " second." : " seconds.");
    const bool answeredOtherwise = m_bNotFtp && !m_arrReplies.empty();
    const std::string otherProtocol =
        "The answer of " + server + " is not an FTP server's." +
        (answeredOtherwise ? " It said: \"" + m_arrReplies.front() + "\"." : "");
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return "The server \"" + m_options.strHost + "\" was not found: the host name is unknown.";
    case CURLE_COULDNT_CONNECT: {
        long osErrno = 0;
        curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osErrno);
        // Through a proxy the refusal may be the proxy's, which the library's text names.
        if (m_bDirect && osErrno == ECONNREFUSED)
            return "Could not connect to " + server + ": the connection was refused.";
        return {};
    }
    case CURLE_WEIRD_SERVER_REPLY:
        return otherProtocol;
    case CURLE_ABORTED_BY_CALLBACK:
        return answeredOtherwise ? otherProtocol : std::string();
    case CURLE_OPERATION_TIMEDOUT:
        if (!m_bDirect || !m_arrReplies.empty())
            return {};
        if (connectUs == 0)
            return "Could not connect to " + server + within;
        return "Timed out: " + server + " took the connection but did not answer" + within;
    default:
        return {};
    }
}

void CFtpSession::ThrowError(int code) const {
    std::string text = m_szError[0] ? m_szError : curl_easy_strerror(static_cast<CURLcode>(code));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (m_bBodyTooLarge)
        throw CInternetException("The listing of \"" + m_strCurrentDir + "\" is larger than " +
                                     SizeText(m_limits.listingMaxBytes) + ", so it was stopped.",
                                 CInternetException::listingTooLarge);
    // The library's clock may end the listing a moment before ours reaches the deadline.
    if (code == CURLE_OPERATION_TIMEDOUT && m_listingStart &&
        (std::chrono::steady_clock::now() - *m_listingStart) * 10 >= m_limits.listing * 9)
        throw CInternetException("The listing of \"" + m_strCurrentDir + "\" took longer than " +
                                     std::to_string((m_limits.listing.count() + 999) / 1000) +
                                     " seconds, so it was stopped.",
                                 CInternetException::listingTooSlow);
    if (code == CURLE_OPERATION_TIMEDOUT && text.rfind("Operation too slow", 0) == 0)
        text = "Timed out: the server sent no data for " + std::to_string(m_nStallSeconds) + " seconds.";
    else if (std::string plain = PlainFailure(code); !plain.empty())
        text = std::move(plain);
    if (!m_strLastReply.empty() && text.find(m_strLastReply) == std::string::npos) {
        // The server's own words are what usually tells the operator what to fix.
        const char first = m_strLastReply.front();
        if (first == '4' || first == '5')
            text += " (server reply: " + m_strLastReply + ")";
    }
    throw CInternetException(text, code);
}

void CFtpSession::Open(const CFtpSessionOptions& options) {
    Close();
    m_options = options;
    m_bDirect = options.proxy == CFtpSessionOptions::Proxy::none ||
                (options.proxy == CFtpSessionOptions::Proxy::environment && !EnvironmentNamesAProxy());
    m_limits = corvane::GetNetTimeouts();
    m_strCurrentDir = "/";
    m_bMlsd = false;
    m_bListHidden = true;
    m_strLastReply.clear();
    m_szError[0] = 0;
    if (!IsSafeHost(options.strHost))
        throw CInternetException(options.strHost.empty()
                                     ? "No server host name was given."
                                     : "The server host name \"" + options.strHost + "\" is not valid.");
    const unsigned port = options.nPort ? options.nPort : 21;
    m_strBaseUrl = "ftp://" + HostForUrl(options.strHost) + ":" + std::to_string(port);

    CURL* curl = curl_easy_init();
    if (!curl)
        throw CInternetException("The network library could not start a session.");
    m_pCurl = curl;
    m_pMulti = curl_multi_init();
    if (!m_pMulti) {
        Close();
        throw CInternetException("The network library could not start a session.");
    }
    const corvane::NetTimeouts& timeouts = m_limits;
    const long responseSec = std::max<long>(1, static_cast<long>((timeouts.response.count() + 999) / 1000));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_szError);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &CFtpSession::DebugCallback);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CFtpSession::WriteCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CFtpSession::ProgressCallback);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, responseSec);
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    // A data transfer that stalls for a whole response time ends like an unanswered command.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, responseSec);
    m_nStallSeconds = responseSec;
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    if (options.bPassive) {
        curl_easy_setopt(curl, CURLOPT_FTP_USE_EPSV, 1L);
    } else {
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
    }
    if (!options.strUser.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, options.strUser.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, options.strPassword.c_str());
    }

    using Proxy = CFtpSessionOptions::Proxy;
    // An HTTP proxy is only ever a tunnel: a plain request would give it the password.
    curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
    if (options.proxy == Proxy::none) {
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
    } else if (options.proxy != Proxy::environment) {
        if (!IsSafeHost(options.strProxyHost)) {
            Close();
            throw CInternetException(options.strProxyHost.empty()
                                         ? "No proxy host name was given."
                                         : "The proxy host name \"" + options.strProxyHost +
                                               "\" is not valid.");
        }
        long type = CURLPROXY_HTTP;
        switch (options.proxy) {
        case Proxy::socks4:
            type = CURLPROXY_SOCKS4;
            break;
        case Proxy::socks4a:
            type = CURLPROXY_SOCKS4A;
            break;
        case Proxy::socks5:
            // Names are resolved by the proxy: it is there because we may not reach the server ourselves.
            type = CURLPROXY_SOCKS5_HOSTNAME;
            break;
        default:
            break;
        }
        curl_easy_setopt(curl, CURLOPT_PROXY, HostForUrl(options.strProxyHost).c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYPORT, static_cast<long>(options.nProxyPort));
        curl_easy_setopt(curl, CURLOPT_PROXYTYPE, type);
        if (!options.strProxyUser.empty()) {
            curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, options.strProxyUser.c_str());
            curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, options.strProxyPassword.c_str());
        }
    }

    try {
        // Log in only: the login folder, no body, no CWD.
        Perform(m_strBaseUrl + "/", true, nullptr, true);
    } catch (...) {
        Close();
        throw;
    }
    // What the server told us about itself while logging in.
    for (const std::string& line : m_arrReplies) {
        std::string upper = line;
        std::transform(upper.begin(), upper.end(), upper.begin(), corvane::AsciiUpper);
        if (upper.rfind("257", 0) == 0) {
            const auto open = line.find('"');
            const auto close = line.rfind('"');
            if (open != std::string::npos && close > open) {
                std::string dir = line.substr(open + 1, close - open - 1);
                std::string unquoted;
                for (std::size_t i = 0; i < dir.size(); ++i) {
                    unquoted += dir[i];
                    if (dir[i] == '"' && i + 1 < dir.size() && dir[i + 1] == '"')
                        ++i;
                }
                if (!unquoted.empty() && unquoted.front() == '/')
                    m_strCurrentDir = unquoted;
            }
        }
        const auto trimmed = upper.find_first_not_of(' ');
        if (trimmed != std::string::npos && upper.compare(trimmed, 4, "MLST") == 0)
            m_bMlsd = true;
    }
}

void CFtpSession::Close() {
    if (m_pCurl) {
        curl_easy_cleanup(Handle(m_pCurl));
        m_pCurl = nullptr;
    }
    if (m_pMulti) {
        // The multi handle owns the connection cache: its cleanup sends QUIT on a live connection
        // and waits for the reply as long as our transfers wait for one (the cache takes the
        // response timeout of the handle added last), so a silent server costs one response time.
        curl_multi_cleanup(static_cast<CURLM*>(m_pMulti));
        m_pMulti = nullptr;
    }
}

int CFtpSession::RunTransfer() {
    // Driven through a multi handle rather than curl_easy_perform: on a reused control
    // connection the easy loop can sleep a whole second before opening the passive data
    // connection (nothing to poll yet, no timer). Waking at least every few milliseconds
    // while a transfer runs removes that stall. The multi handle keeps the connection
    // cache, so the control connection still outlives each transfer.
    auto* multi = static_cast<CURLM*>(m_pMulti);
    CURL* curl = Handle(m_pCurl);
    if (curl_multi_add_handle(multi, curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    int running = 1;
    CURLcode result = CURLE_OK;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (!running)
            break;
        long wait = -1;
        curl_multi_timeout(multi, &wait);
        if (wait < 0 || wait > 5)
            wait = 5;
        curl_multi_poll(multi, nullptr, 0, static_cast<int>(wait), nullptr);
    }
    int pending = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &pending))
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == curl)
            result = msg->data.result;
    curl_multi_remove_handle(multi, curl);
    return result;
}

void CFtpSession::Perform(const std::string& url, bool nobody, const char* customRequest, bool quoteLogin) {
    if (!m_pCurl)
        throw CInternetException("The FTP session is not open.");
    CURL* curl = Handle(m_pCurl);
    m_arrReplies.clear();
    m_strLastReply.clear();
    m_strBody.clear();
    m_bBodyTooLarge = false;
    m_bNotFtp = false;
    m_szError[0] = 0;
    curl_slist* quote = nullptr;
    if (quoteLogin) {
        // "*": a server without these commands is fine.
        quote = curl_slist_append(quote, "*FEAT");
        quote = curl_slist_append(quote, "*OPTS UTF8 ON");
        // Only the facts we read: servers then skip permissions and dates for every entry.
        quote = curl_slist_append(quote, "*OPTS MLST type;size;");
    }
    curl_easy_setopt(curl, CURLOPT_QUOTE, quote);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, nobody ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, customRequest);
    const CURLcode rc = static_cast<CURLcode>(RunTransfer());
    curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_slist_free_all(quote);
    if (rc != CURLE_OK)
        ThrowError(rc);
}

namespace {

// A path component in the URL: its bytes exactly, percent-encoded.
std::string EncodeComponent(const std::string& raw) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
            b == '.' || b == '_' || b == '~') {
            out += c;
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

// A reply that says the server does not take the command (as opposed to a failure of it).
bool RefusesCommand(const std::string& reply) {
    return reply.size() >= 3 && reply.compare(0, 2, "50") == 0 &&
           std::string_view("0124").find(reply[2]) != std::string_view::npos;
}

} // namespace

std::string CFtpSession::UrlForFolder(const std::string& absPath) const {
    // "%2F" makes the path absolute on the server instead of relative to the login folder;
    // libcurl then sends the whole folder in one CWD.
    std::string url = m_strBaseUrl + "/%2F";
    std::size_t pos = 1;
    while (pos < absPath.size()) {
        std::size_t slash = absPath.find('/', pos);
        if (slash == std::string::npos)
            slash = absPath.size();
        url += EncodeComponent(absPath.substr(pos, slash - pos));
        url += '/';
        pos = slash + 1;
    }
    return url;
}

std::string CFtpSession::AbsolutePath(const std::string& path) const {
    std::string abs = path;
    if (abs.empty() || abs.front() != '/')
        abs = (m_strCurrentDir == "/" ? std::string("/") : m_strCurrentDir + "/") + abs;
    // Trailing slashes only mark a folder; doubled ones mean nothing to a server either.
    std::string out;
    for (const char c : abs)
        if (!(c == '/' && !out.empty() && out.back() == '/'))
            out += c;
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

void CFtpSession::ChangeDirectory(const std::string& path) {
    const std::string abs = AbsolutePath(path);
    Perform(UrlForFolder(abs), true, nullptr, false);
    m_strCurrentDir = abs;
}

void CFtpSession::PerformListing(const std::string& url, const char* command) {
    CURL* curl = Handle(m_pCurl);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(m_limits.listing.count()));
    m_listingStart = std::chrono::steady_clock::now();
    struct Restore {
        CFtpSession* self;
        ~Restore() {
            curl_easy_setopt(Handle(self->m_pCurl), CURLOPT_TIMEOUT_MS, 0L);
            self->m_listingStart.reset();
        }
    } restore{this};
    Perform(url, false, command, false);
}

std::vector<CFtpFileInfo> CFtpSession::List() {
    const std::string url = UrlForFolder(m_strCurrentDir);
    const bool mlsd = m_bMlsd;
    try {
        PerformListing(url, mlsd ? "MLSD" : m_bListHidden ? "LIST -a" : "LIST");
    } catch (const CInternetException&) {
        if (mlsd && RefusesCommand(m_strLastReply)) {
            // A server that announced MLST but refuses MLSD: LIST from now on.
            m_bMlsd = false;
            return List();
        }
        // Some servers refuse the option, others take "-a" for a name ("550 -a: not found"):
        // only a plain LIST that works tells the two from a folder that cannot be listed.
        if (mlsd || !m_bListHidden ||
            !(RefusesCommand(m_strLastReply) || m_strLastReply.rfind("550", 0) == 0))
            throw;
        PerformListing(url, "LIST");
        m_bListHidden = false;
    }
    corvane::FtpListing parsed = corvane::ParseListing(m_strBody, mlsd);
    m_strBody.clear();
    m_strBody.shrink_to_fit();
    if (parsed.arrEntries.empty() && parsed.nUnreadable > 0)
        throw CInternetException(
            "The listing of \"" + m_strCurrentDir + "\" could not be read: the server sent " +
                std::to_string(parsed.nUnreadable) + (parsed.nUnreadable == 1 ? " line" : " lines") +
                " in no listing format this program knows (the first: \"" + parsed.strFirstUnreadable +
                "\").",
            CInternetException::listingUnreadable);
    std::vector<CFtpFileInfo> out;
    out.reserve(parsed.arrEntries.size());
    for (corvane::FtpListEntry& e : parsed.arrEntries)
        out.push_back({std::move(e.strName), e.type, e.nSize});
    return out;
}
