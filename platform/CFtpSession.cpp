#include "platform/CFtpSession.h"

#include "model/CodePage.h"
#include "platform/CInternetException.h"
#include "platform/CurlSetup.h"
#include "platform/NetTimeouts.h"

#include <curl/curl.h>

#include <algorithm>

namespace {

CURL* Handle(void* p) {
    return static_cast<CURL*>(p);
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

std::string CFtpSession::ServerNameToCp1252(const std::string& raw) {
    return corvane::IsUtf8(raw) ? corvane::Utf8ToCp1252(raw) : raw;
}

int CFtpSession::DebugCallback(void*, int type, char* data, std::size_t size, void* self) {
    auto* s = static_cast<CFtpSession*>(self);
    const std::string_view text(data, size);
    if (type == CURLINFO_HEADER_IN) {
        std::string line = TrimLine(text);
        if (!line.empty()) {
            s->m_strLastReply = line;
            s->m_arrReplies.push_back(std::move(line));
        }
    } else if (type == CURLINFO_HEADER_OUT) {
        std::string line = TrimLine(text);
        if (line.rfind("PASS ", 0) == 0 || line == "PASS")
            line = "PASS ****";
        s->m_arrCommands.push_back(std::move(line));
    }
    return 0;
}

std::size_t CFtpSession::WriteCallback(char* data, std::size_t size, std::size_t count, void* self) {
    auto* s = static_cast<CFtpSession*>(self);
    s->m_strBody.append(data, size * count);
    return size * count;
}

void CFtpSession::ThrowError(int code) const {
    std::string text = m_szError[0] ? m_szError : curl_easy_strerror(static_cast<CURLcode>(code));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (code == CURLE_OPERATION_TIMEDOUT && text.rfind("Operation too slow", 0) == 0)
        text = "Timed out: the server sent no data for " + std::to_string(m_nStallSeconds) + " seconds.";
    if (!m_strLastReply.empty() && text.find(m_strLastReply) == std::string::npos) {
        // The server's own words are what usually tells the operator what to fix.
        const char first = m_strLastReply.front();
        if (first == '4' || first == '5')
            text += " (server reply: " + ServerNameToCp1252(m_strLastReply) + ")";
    }
    throw CInternetException(text, code);
}

void CFtpSession::Open(const CFtpSessionOptions& options) {
    Close();
    m_options = options;
    m_strCurrentDir = "/";
    m_bMlsd = false;
    m_bMlsdChecked = false;
    m_mapRawNames.clear();
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
    const corvane::NetTimeouts timeouts = corvane::GetNetTimeouts();
    const long responseSec = std::max<long>(1, static_cast<long>((timeouts.response.count() + 999) / 1000));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_szError);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &CFtpSession::DebugCallback);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CFtpSession::WriteCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
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
        curl_easy_setopt(curl, CURLOPT_USERNAME, corvane::Cp1252ToUtf8(options.strUser).c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, corvane::Cp1252ToUtf8(options.strPassword).c_str());
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
            curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME,
                             corvane::Cp1252ToUtf8(options.strProxyUser).c_str());
            curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD,
                             corvane::Cp1252ToUtf8(options.strProxyPassword).c_str());
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
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return std::toupper(c); });
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
                    m_strCurrentDir = ServerNameToCp1252(unquoted);
            }
        }
        const auto trimmed = upper.find_first_not_of(' ');
        if (trimmed != std::string::npos && upper.compare(trimmed, 4, "MLST") == 0) {
            m_bMlsd = true;
            m_bMlsdChecked = true;
        }
    }
}

void CFtpSession::Close() {
    if (m_pCurl) {
        curl_easy_cleanup(Handle(m_pCurl));
        m_pCurl = nullptr;
    }
    if (m_pMulti) {
        // The multi handle owns the connection cache: its cleanup sends QUIT on a live connection.
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

std::string CFtpSession::EncodeComponent(const std::string& cp1252) const {
    std::string raw;
    const auto it = m_mapRawNames.find(cp1252);
    if (it != m_mapRawNames.end())
        raw = it->second;
    else
        raw = corvane::Cp1252ToUtf8(cp1252);
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

std::vector<CFtpFileInfo> CFtpSession::List() {
    const std::string url = UrlForFolder(m_strCurrentDir);
    bool mlsd = m_bMlsd;
    try {
        Perform(url, false, mlsd ? "MLSD" : "LIST", false);
    } catch (const CInternetException&) {
        // A server that announced MLST but refuses MLSD (500-502, 504): LIST from now on.
        const bool unsupported = m_strLastReply.rfind("50", 0) == 0 && m_strLastReply.size() > 2 &&
                                 std::string("0124").find(m_strLastReply[2]) != std::string::npos;
        if (!mlsd || !unsupported)
            throw;
        m_bMlsd = mlsd = false;
        Perform(url, false, "LIST", false);
    }
    std::vector<corvane::FtpListEntry> parsed = corvane::ParseListing(m_strBody, mlsd);
    std::vector<CFtpFileInfo> out;
    out.reserve(parsed.size());
    for (corvane::FtpListEntry& e : parsed) {
        CFtpFileInfo info;
        info.strName = ServerNameToCp1252(e.strName);
        info.type = e.type;
        info.nSize = e.nSize;
        // Non-ASCII names go back to the server in exactly its own bytes.
        if (std::any_of(e.strName.begin(), e.strName.end(), [](char c) { return (c & 0x80) != 0; }))
            m_mapRawNames[info.strName] = e.strName;
        out.push_back(std::move(info));
    }
    m_strBody.clear();
    m_strBody.shrink_to_fit();
    return out;
}
