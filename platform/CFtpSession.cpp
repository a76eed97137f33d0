#include "platform/CFtpSession.h"

#include "model/AsciiCase.h"
#include "model/CodePage.h"
#include "model/SecretText.h"
#include "model/VisibleText.h"
#include "platform/CCancelScope.h"
#include "platform/CInternetException.h"
#include "platform/CurlSetup.h"
#include "platform/ErrorText.h"
#include "platform/ProxyTypes.h"

#include <arpa/inet.h>
#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <type_traits>

namespace {

using Stage = CFtpSession::Stage;

// A transcript longer than this is cut: a server chatting without end must not fill the memory.
constexpr std::size_t kMaxTranscriptLines = 4000;

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

bool ContainsNoCase(std::string_view s, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= s.size(); ++i)
        if (StartsWithNoCase(s.substr(i), word))
            return true;
    return false;
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

std::string Verb(std::string_view line) {
    std::string verb(line.substr(0, line.find(' ')));
    std::transform(verb.begin(), verb.end(), verb.begin(), corvane::AsciiUpper);
    return verb;
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

bool ReplyIs(const std::string& reply, std::string_view code) {
    return reply.compare(0, code.size(), code) == 0;
}

bool IsFailureReply(const std::string& reply) {
    return !reply.empty() && (reply.front() == '4' || reply.front() == '5');
}

const char* StageName(Stage stage) {
    switch (stage) {
    case Stage::resolve:
        return "finding the server";
    case Stage::connect:
        return "connecting";
    case Stage::greeting:
        return "greeting";
    case Stage::login:
        return "login";
    case Stage::folder:
        return "opening the folder";
    case Stage::data:
        return "data connection";
    case Stage::listing:
        return "listing";
    }
    return "";
}

std::string StageTitle(Stage stage) {
    std::string title = StageName(stage);
    title.front() = corvane::AsciiUpper(title.front());
    return title;
}

// The folder a "257" reply names, its doubled quotes undone; none when it names no absolute one.
std::optional<std::string> PwdFolder(const std::string& reply) {
    if (!ReplyIs(reply, "257"))
        return std::nullopt;
    const auto open = reply.find('"');
    const auto close = reply.rfind('"');
    if (open == std::string::npos || close <= open)
        return std::nullopt;
    const std::string quoted = reply.substr(open + 1, close - open - 1);
    std::string folder;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        folder += quoted[i];
        if (quoted[i] == '"' && i + 1 < quoted.size() && quoted[i + 1] == '"')
            ++i;
    }
    if (folder.empty() || folder.front() != '/')
        return std::nullopt;
    return folder;
}

// The address of a "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)" reply, and its port.
std::optional<std::pair<std::string, int>> PasvAddress(const std::string& reply) {
    if (!ReplyIs(reply, "227"))
        return std::nullopt;
    std::size_t i = 3;
    while (i < reply.size() && !std::isdigit(static_cast<unsigned char>(reply[i])))
        ++i;
    int n[6] = {};
    for (int k = 0; k < 6; ++k) {
        int digits = 0;
        for (; i < reply.size() && std::isdigit(static_cast<unsigned char>(reply[i])) && digits < 3;
             ++i, ++digits)
            n[k] = n[k] * 10 + (reply[i] - '0');
        if (digits == 0 || n[k] > 255 || (k < 5 && (i >= reply.size() || reply[i++] != ',')))
            return std::nullopt;
    }
    return std::pair(std::to_string(n[0]) + "." + std::to_string(n[1]) + "." + std::to_string(n[2]) + "." +
                         std::to_string(n[3]),
                     n[4] * 256 + n[5]);
}

// How an IPv4 address reads to the passive address check; none for anything else.
enum class AddressKind { loopback, privateNetwork, other };
std::optional<AddressKind> KindOfAddress(const std::string& dotted) {
    in_addr parsed{};
    if (inet_pton(AF_INET, dotted.c_str(), &parsed) != 1)
        return std::nullopt;
    const std::uint32_t a = ntohl(parsed.s_addr);
    const auto in = [a](std::uint32_t net, int bits) { return (a >> (32 - bits)) == (net >> (32 - bits)); };
    if (in(0x7F000000, 8))
        return AddressKind::loopback;
    if (in(0x0A000000, 8) || in(0xAC100000, 12) || in(0xC0A80000, 16) || in(0x64400000, 10) ||
        in(0xA9FE0000, 16))
        return AddressKind::privateNetwork;
    return AddressKind::other;
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
    if (type == CURLINFO_TEXT) {
        // The library's own words never reach a person; they only tell when connecting starts.
        if (s->m_stage == Stage::resolve && text.substr(0, 16).find("Trying ") != std::string_view::npos)
            s->EnterStage(Stage::connect);
    } else if (type == CURLINFO_HEADER_IN) {
        if (std::string line = TrimLine(text); !line.empty())
            s->OnReplyReceived(line);
    } else if (type == CURLINFO_HEADER_OUT) {
        // One FTP command, or a whole proxy request with its headers.
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t eol = std::min(text.find('\n', pos), text.size());
            if (std::string line = TrimLine(text.substr(pos, eol - pos)); !line.empty())
                s->OnCommandSent(line);
            pos = eol + 1;
        }
    }
    return 0;
}

// The callback is declared without the library's header; the types must agree.
static_assert(std::is_same_v<curl_off_t, std::int64_t>);

int CFtpSession::ProgressCallback(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {
    return static_cast<CFtpSession*>(self)->m_bNotFtp || corvane::CCancelScope::IsCancelled() ? 1 : 0;
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

// --- Transcript ------------------------------------------------------------------------

void CFtpSession::Note(std::string line) {
    if (m_arrTranscript.size() > kMaxTranscriptLines)
        return;
    if (m_arrTranscript.size() == kMaxTranscriptLines) {
        line = "(the transcript is cut here)";
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
    std::string stamp = std::to_string(ms.count()) + " ms";
    if (stamp.size() < 9)
        stamp.insert(0, 9 - stamp.size(), ' ');
    m_arrTranscript.push_back(stamp + "  " + line);
}

void CFtpSession::EnterStage(Stage stage) {
    if (stage == m_stage && m_bStageOpen)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (m_bStageOpen)
        Note("-- " + std::string(StageName(m_stage)) + " took " +
             std::to_string(
                 std::chrono::duration_cast<std::chrono::milliseconds>(now - m_stageStart).count()) +
             " ms");
    m_stage = stage;
    m_stageStart = now;
    m_bStageOpen = true;
    std::string line = "-- " + std::string(StageName(stage));
    if (stage == Stage::resolve)
        line += ": \"" + corvane::VisibleText(corvane::Cp1252ToUtf8(m_options.strHost)) + "\"";
    if (stage == Stage::connect)
        line += ": " + ServerText() + (m_bDirect ? ", directly" : ", through " + ProxyText());
    Note(line);
}

void CFtpSession::CloseStage(bool failed) {
    if (!m_bStageOpen)
        return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                          m_stageStart);
    Note("-- " + std::string(StageName(m_stage)) + (failed ? " failed after " : " took ") +
         std::to_string(ms.count()) + " ms");
    m_bStageOpen = false;
}

void CFtpSession::OnCommandSent(const std::string& line) {
    std::string shown = ForTranscript(line);
    const std::string verb = Verb(line);
    if (verb == "USER" || verb == "PASS")
        EnterStage(Stage::login);
    else if (verb == "CWD")
        EnterStage(Stage::folder);
    else if (verb == "EPSV" || verb == "EPRT" || verb == "PORT" || (verb == "PASV" && !m_bOpening))
        EnterStage(Stage::data);
    else if (verb == "LIST" || verb == "MLSD" || verb == "NLST")
        EnterStage(Stage::listing);
    m_strLastCommand = verb;
    Note("> " + corvane::VisibleText(corvane::RemoteNameToUtf8(shown)));
    m_arrCommands.push_back(std::move(shown));
}

void CFtpSession::OnReplyReceived(const std::string& line) {
    // Through a proxy its own HTTP or SOCKS words come first.
    if (m_arrReplies.empty() && m_bDirect && !corvane::StartsWithReplyCode(line))
        m_bNotFtp = true;
    if ((m_stage == Stage::resolve || m_stage == Stage::connect) && corvane::StartsWithReplyCode(line))
        EnterStage(Stage::greeting);
    Note("< " + Shown(line));
    m_strLastReply = line;
    m_arrReplies.push_back(line);
}

std::string CFtpSession::Shown(std::string_view serverBytes) const {
    // Masked first, in the project's bytes and as a server that took them for UTF-8 echoes them,
    // then made readable, then cut: a cut never leaves half a password behind.
    const std::string password = corvane::Cp1252ToUtf8(m_options.strPassword);
    const std::string proxyPassword = corvane::Cp1252ToUtf8(m_options.strProxyPassword);
    const std::string masked = corvane::MaskSecretsIn(
        serverBytes, {m_options.strPassword, password, m_options.strProxyPassword, proxyPassword});
    return corvane::CutToChars(corvane::VisibleText(corvane::RemoteNameToUtf8(masked)));
}

std::string CFtpSession::ServerText() const {
    return "the server \"" + corvane::VisibleText(corvane::Cp1252ToUtf8(m_options.strHost)) + "\" on port " +
           std::to_string(m_options.nPort ? m_options.nPort : 21);
}

std::string CFtpSession::ProxyText() const {
    const corvane::ProxyTypeRow* row = corvane::ProxyTypeByKind(m_options.proxy);
    if (!row)
        return "the system's proxy";
    return std::string("the ") + row->name + " proxy \"" +
           corvane::VisibleText(corvane::Cp1252ToUtf8(m_options.strProxyHost)) + "\" on port " +
           std::to_string(m_options.nProxyPort);
}

std::string CFtpSession::UserText() const {
    if (m_options.strUser.empty())
        return "\"anonymous\"";
    return "\"" + corvane::VisibleText(corvane::Cp1252ToUtf8(m_options.strUser)) + "\"";
}

std::string CFtpSession::FolderText() const {
    // A folder may come from a server's listing: outside text like its replies.
    return "\"" + Shown(m_strFolderInWork) + "\"";
}

std::string CFtpSession::WithinText(long seconds) const {
    seconds = std::max(1L, seconds);
    return " within " + std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

// --- Failures --------------------------------------------------------------------------

CFtpSession::Stage CFtpSession::FailedStage(int code) const {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return Stage::resolve;
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST:
        return Stage::data;
    default:
        break;
    }
    if (ReplyIs(m_strLastReply, "425") || ReplyIs(m_strLastReply, "426"))
        return Stage::data;
    curl_off_t connectUs = 0;
    curl_easy_getinfo(Handle(m_pCurl), CURLINFO_CONNECT_TIME_T, &connectUs);
    if ((m_stage == Stage::resolve || m_stage == Stage::connect) && m_bDirect && connectUs > 0)
        return Stage::greeting;
    return m_stage == Stage::resolve ? Stage::connect : m_stage;
}

std::string CFtpSession::ExplainConnect(int code) const {
    CURL* curl = Handle(m_pCurl);
    curl_off_t connectUs = 0, totalUs = 0;
    long osErrno = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectUs);
    curl_easy_getinfo(curl, CURLINFO_TOTAL_TIME_T, &totalUs);
    curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osErrno);
    const std::string within = WithinText(std::lround(static_cast<double>(totalUs) / 1e6));
    const bool answeredOtherwise = m_bNotFtp && !m_arrReplies.empty();
    if (code == CURLE_WEIRD_SERVER_REPLY || answeredOtherwise)
        return "the answer of " + ServerText() + " is not an FTP server's." +
               (answeredOtherwise ? " It said: \"" + Shown(m_arrReplies.front()) + "\"." : "") +
               " Check the port: FTP servers usually listen on port 21.";
    if (!m_bDirect)
        return ServerText() + " could not be reached through " + ProxyText() +
               ". Check the proxy settings, and that the proxy may connect to the server.";
    if (code == CURLE_COULDNT_CONNECT && osErrno == ECONNREFUSED)
        return ServerText() + " refused the connection. Check the host name and the port, and that the "
                              "FTP server is running.";
    if (code == CURLE_OPERATION_TIMEDOUT && connectUs == 0)
        return ServerText() + " did not answer" + within +
               ". Check the host name and the port, and whether a firewall blocks the way.";
    if (code == CURLE_OPERATION_TIMEDOUT)
        return ServerText() + " took the connection but did not answer" + within +
               ". Check that this port is the FTP server's.";
    return ServerText() + " could not be reached (network error " + std::to_string(code) +
           "). Check the host name, the port and the network.";
}

std::string CFtpSession::ExplainData(int code) const {
    if (!m_options.bPassive)
        return ServerText() + " could not open the data connection to this computer (active mode). A "
                              "firewall here probably blocks it: allow incoming connections for this "
                              "program, or use passive mode.";
    std::string announced;
    for (const std::string& reply : m_arrReplies) {
        if (const auto pasv = PasvAddress(reply))
            announced = pasv->first + " port " + std::to_string(pasv->second);
        else if (const auto bars = reply.find("|||"); ReplyIs(reply, "229") && bars != std::string::npos)
            announced = ReachedAddress() + " port " + std::to_string(std::atoi(reply.c_str() + bars + 3));
    }
    if (announced.empty())
        return ServerText() + " offered no passive data connection. Use active mode.";
    const std::string what = code == CURLE_OPERATION_TIMEDOUT
                                 ? "did not answer" + WithinText(m_nConnectSeconds)
                                 : "could not be reached";
    return "the passive data address that " + ServerText() + " announced (" + announced + ") " + what +
           ". Check the server's passive address setting (it must announce an address this computer "
           "can reach), or use active mode.";
}

std::string CFtpSession::Explain(int code, Stage stage) const {
    if (ReplyIs(m_strLastReply, "421"))
        return ServerText() + " has too many connections open. Try again later, or ask the server's "
                              "administrator to allow more connections.";
    const bool refused = IsFailureReply(m_strLastReply);
    switch (stage) {
    case Stage::resolve:
        if (code == CURLE_COULDNT_RESOLVE_PROXY)
            return "the proxy's host name \"" +
                   corvane::VisibleText(corvane::Cp1252ToUtf8(m_options.strProxyHost)) +
                   "\" is unknown. Check the proxy settings.";
        return "the host name \"" + corvane::VisibleText(corvane::Cp1252ToUtf8(m_options.strHost)) +
               "\" is unknown. Check the host name.";
    case Stage::connect:
    case Stage::greeting:
        return ExplainConnect(code);
    case Stage::login:
        if (ReplyIs(m_strLastReply, "534") ||
            (refused && (ContainsNoCase(m_strLastReply, "TLS") || ContainsNoCase(m_strLastReply, "SSL"))))
            return ServerText() +
                   " requires an encrypted (TLS) connection. The service speaks plain FTP, "
                   "so it cannot use this server as configured: allow plain FTP for the "
                   "user " +
                   UserText() + " on the server, or choose another server.";
        if (code == CURLE_LOGIN_DENIED || ReplyIs(m_strLastReply, "530"))
            return ServerText() + " refused the user " + UserText() +
                   ". Check the user name and the password.";
        break;
    case Stage::folder:
        if (refused)
            return "the folder " + FolderText() + " is missing on " + ServerText() + ", or the user " +
                   UserText() +
                   " may not open it. Check the folder's name and the user's rights on the server.";
        break;
    case Stage::data:
        return ExplainData(code);
    case Stage::listing:
        if (code == CURLE_OPERATION_TIMEDOUT &&
            (ReplyIs(m_strLastReply, "150") || ReplyIs(m_strLastReply, "125")))
            return ServerText() + " sent no data for" + WithinText(m_nStallSeconds).substr(7) + ".";
        if (refused)
            return ServerText() + " refused to list the folder " + FolderText() + " for the user " +
                   UserText() + ". Check the user's rights on the folder.";
        if (code == CURLE_OPERATION_TIMEDOUT)
            return ServerText() + " did not answer" + WithinText(m_nStallSeconds) + ".";
        break;
    }
    if (code == CURLE_OPERATION_TIMEDOUT)
        return ServerText() + " did not answer" + WithinText(m_nStallSeconds) + ".";
    if (refused)
        return ServerText() + " refused the request.";
    return "the connection to " + ServerText() + " failed (network error " + std::to_string(code) + ").";
}

void CFtpSession::ThrowError(int code) {
    if (m_bBodyTooLarge) {
        CloseStage(true);
        throw CInternetException("Listing failed: the listing of " + FolderText() + " is larger than " +
                                     SizeText(m_limits.listingMaxBytes) + ", so it was stopped.",
                                 CInternetException::listingTooLarge);
    }
    // The library's clock may end the listing a moment before ours reaches the deadline.
    if (code == CURLE_OPERATION_TIMEDOUT && m_listingStart &&
        (std::chrono::steady_clock::now() - *m_listingStart) * 10 >= m_limits.listing * 9) {
        CloseStage(true);
        throw CInternetException("Listing failed: the listing of " + FolderText() + " took longer than " +
                                     std::to_string(corvane::SecondsRoundedUp(m_limits.listing)) +
                                     " seconds, so it was stopped.",
                                 CInternetException::listingTooSlow);
    }
    const Stage stage = FailedStage(code);
    std::string text = StageTitle(stage) + " failed: " + Explain(code, stage);
    // The server's own words are what usually tells the operator what to fix.
    if (IsFailureReply(m_strLastReply))
        text += " The server said: \"" + Shown(m_strLastReply) + "\"";
    m_stage = stage;
    CloseStage(true);
    throw CInternetException(text, code);
}

// --- Opening ---------------------------------------------------------------------------

void CFtpSession::Reset(const CFtpSessionOptions& options) {
    Close();
    m_options = options;
    m_bDirect = options.proxy == CFtpSessionOptions::Proxy::none ||
                (options.proxy == CFtpSessionOptions::Proxy::environment && !EnvironmentNamesAProxy());
    m_limits = corvane::GetNetTimeouts();
    m_strCurrentDir = "/";
    m_strFolderInWork.clear();
    m_bMlsd = false;
    m_bListHidden = true;
    m_strLastReply.clear();
    m_arrReplies.clear();
    m_arrTranscript.clear();
    m_arrWarnings.clear();
    m_start = std::chrono::steady_clock::now();
    m_bStageOpen = false;
    m_stage = Stage::greeting; // anything but resolve, so that resolving is entered
    EnterStage(Stage::resolve);
    if (!IsSafeHost(options.strHost))
        throw CInternetException(options.strHost.empty()
                                     ? "No server host name was given."
                                     : "The server host name \"" +
                                           corvane::VisibleText(corvane::Cp1252ToUtf8(options.strHost)) +
                                           "\" is not valid.");
    m_strBaseUrl =
        "ftp://" + HostForUrl(options.strHost) + ":" + std::to_string(options.nPort ? options.nPort : 21);
}

void CFtpSession::SetUpHandle() {
    CURL* curl = curl_easy_init();
    if (!curl)
        throw CInternetException("The network library could not start a session.");
    m_pCurl = curl;
    m_pMulti = curl_multi_init();
    if (!m_pMulti)
        throw CInternetException("The network library could not start a session.");
    const long responseSec = corvane::SecondsRoundedUp(m_limits.response);
    m_nConnectSeconds = corvane::SecondsRoundedUp(m_limits.connect);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &CFtpSession::DebugCallback);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CFtpSession::WriteCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CFtpSession::ProgressCallback);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_limits.connect.count()));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, responseSec);
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(m_limits.connect.count()));
    // A data transfer that stalls for a whole response time ends like an unanswered command.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, responseSec);
    m_nStallSeconds = responseSec;
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    if (m_options.bPassive)
        curl_easy_setopt(curl, CURLOPT_FTP_USE_EPSV, 1L);
    else
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
    if (!m_options.strUser.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_options.strUser.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, m_options.strPassword.c_str());
    }
}

void CFtpSession::SetUpProxy() {
    CURL* curl = Handle(m_pCurl);
    // An HTTP proxy is only ever a tunnel: a plain request would give it the password.
    curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
    if (m_options.proxy == CFtpSessionOptions::Proxy::none) {
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        return;
    }
    const corvane::ProxyTypeRow* row = corvane::ProxyTypeByKind(m_options.proxy);
    if (!row)
        return; // the environment's
    if (!IsSafeHost(m_options.strProxyHost))
        throw CInternetException(
            m_options.strProxyHost.empty()
                ? "No proxy host name was given."
                : "The proxy host name \"" +
                      corvane::VisibleText(corvane::Cp1252ToUtf8(m_options.strProxyHost)) +
                      "\" is not valid.");
    curl_easy_setopt(curl, CURLOPT_PROXY, HostForUrl(m_options.strProxyHost).c_str());
    curl_easy_setopt(curl, CURLOPT_PROXYPORT, static_cast<long>(m_options.nProxyPort));
    curl_easy_setopt(curl, CURLOPT_PROXYTYPE, row->curlType);
    if (!m_options.strProxyUser.empty()) {
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, m_options.strProxyUser.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, m_options.strProxyPassword.c_str());
    }
}

void CFtpSession::Open(const CFtpSessionOptions& options) {
    try {
        Reset(options);
        SetUpHandle();
        SetUpProxy();
        m_bOpening = true;
        // Log in only: the login folder, no body, no CWD.
        Perform(m_strBaseUrl + "/", true, nullptr, true);
        m_bOpening = false;
    } catch (...) {
        m_bOpening = false;
        Close();
        throw;
    }
    ReadLoginReplies();
    CheckPassiveAddress();
}

void CFtpSession::ReadLoginReplies() {
    // What the server told us about itself while logging in.
    for (const std::string& line : m_arrReplies) {
        if (const auto folder = PwdFolder(line))
            m_strCurrentDir = *folder;
        const auto first = line.find_first_not_of(' ');
        if (first != std::string::npos && StartsWithNoCase(std::string_view(line).substr(first), "MLST"))
            m_bMlsd = true;
    }
}

std::string CFtpSession::ReachedAddress() const {
    char* primary = nullptr;
    curl_easy_getinfo(Handle(m_pCurl), CURLINFO_PRIMARY_IP, &primary);
    return primary ? primary : "";
}

void CFtpSession::CheckPassiveAddress() {
    // Through a proxy we never see the server's own address, so there is nothing to compare.
    if (!m_options.bPassive || !m_bDirect)
        return;
    std::optional<std::pair<std::string, int>> announced;
    for (const std::string& line : m_arrReplies)
        if (auto pasv = PasvAddress(line))
            announced = std::move(pasv);
    const std::string reached = ReachedAddress();
    const auto reachedKind = KindOfAddress(reached);
    if (!announced || !reachedKind || announced->first == reached)
        return;
    const auto kind = KindOfAddress(announced->first);
    const std::string what = kind == AddressKind::privateNetwork ? " (a private address)"
                             : kind == AddressKind::loopback     ? " (a loopback address)"
                                                                 : "";
    const std::string warning = "The server announces the passive address " + announced->first + what +
                                ", but it was reached at " + reached +
                                ". A client that connects to the announced address (PASV) will fail to "
                                "list: set the server's passive address to the one clients connect to.";
    Note("-- passive address check: " + warning);
    m_arrWarnings.push_back(warning);
}

void CFtpSession::Close() {
    CURL* curl = Handle(m_pCurl);
    auto* multi = static_cast<CURLM*>(m_pMulti);
    if (curl && multi) {
        // The connection cache sends QUIT with the response limit of the handle added last:
        // the work is done, so its reply is waited for only briefly.
        curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                         corvane::SecondsRoundedUp(std::min(kQuitWait, m_limits.response)));
        if (curl_multi_add_handle(multi, curl) == CURLM_OK)
            curl_multi_remove_handle(multi, curl);
    }
    if (curl) {
        curl_easy_cleanup(curl);
        m_pCurl = nullptr;
    }
    if (multi) {
        // Its cleanup sends QUIT on a live connection and waits for the reply.
        curl_multi_cleanup(multi);
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
    m_strLastCommand.clear();
    m_strBody.clear();
    m_bBodyTooLarge = false;
    m_bNotFtp = false;
    curl_slist* quote = nullptr;
    if (quoteLogin) {
        // "*": a server without these commands is fine.
        quote = curl_slist_append(quote, "*FEAT");
        quote = curl_slist_append(quote, "*OPTS UTF8 ON");
        // Only the facts we read: servers then skip permissions and dates for every entry.
        quote = curl_slist_append(quote, "*OPTS MLST type;size;");
        // The address a plain PASV announces, for the passive address check (the library
        // itself asks EPSV first, which names no address).
        if (m_options.bPassive)
            quote = curl_slist_append(quote, "*PASV");
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
    CloseStage(false);
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
    m_strFolderInWork = abs;
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
    m_strFolderInWork = m_strCurrentDir;
    const bool mlsd = m_bMlsd;
    m_strListingNote.clear();
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
            "Listing failed: the listing of " + FolderText() + " could not be read: the server sent " +
                std::to_string(parsed.nUnreadable) + (parsed.nUnreadable == 1 ? " line" : " lines") +
                " in no listing format this program knows (the first: \"" + Shown(parsed.strFirstUnreadable) +
                "\").",
            CInternetException::listingUnreadable);
    m_strListingNote = corvane::UnreadableLinesText(parsed.nUnreadable, parsed.strFirstUnreadable);
    if (!m_strListingNote.empty())
        m_arrCommands.push_back("(" + m_strListingNote + ")");
    std::vector<CFtpFileInfo> out;
    out.reserve(parsed.arrEntries.size());
    for (corvane::FtpListEntry& e : parsed.arrEntries)
        out.push_back({std::move(e.strName), e.type, e.nSize});
    return out;
}
