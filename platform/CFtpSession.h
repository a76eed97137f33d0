#pragma once
// The libcurl FTP core shared by the "Kestrel.CoFTP" component and the built-in client.
//
// One easy handle per session, so the logged-in control connection is reused by every
// later directory change and listing (libcurl re-sends CWD only when the folder changes).
// Safe to use from any one thread at a time (no signals, bounded waits: NetTimeouts.h).
//
// Text: the program's text is Windows-1252, servers mostly speak UTF-8.
// - Names received: valid UTF-8 is converted to Windows-1252 (characters the code page
//   lacks become '?'); anything else is taken as Windows-1252 bytes already (legacy servers).
// - Paths sent: every path component that a listing of this session produced goes back in
//   exactly the server's bytes; other components are sent as UTF-8 (ASCII is unchanged).
//   A folder picked from a listing is therefore always reachable, whatever the server uses.
// - User name and password are sent as UTF-8.
#include "platform/FtpListParser.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct CFtpSessionOptions {
    enum class Proxy {
        none,        // direct, even when the environment names a proxy
        environment, // ftp_proxy / all_proxy / no_proxy, as the system's own client does
        socks4,
        socks4a,
        socks5,
        http, // always a CONNECT tunnel: the proxy never sees the FTP password
    };

    std::string strHost;
    // 0 means the standard port 21.
    std::uint16_t nPort = 21;
    // Empty user: anonymous login.
    std::string strUser;
    std::string strPassword;
    // Passive: EPSV, then PASV when the server refuses it. Active: EPRT/PORT on the
    // control connection's local address.
    bool bPassive = true;

    Proxy proxy = Proxy::none;
    std::string strProxyHost;
    std::uint16_t nProxyPort = 0;
    std::string strProxyUser;
    std::string strProxyPassword;
};

struct CFtpFileInfo {
    std::string strName; // Windows-1252
    corvane::FtpListEntry::Type type = corvane::FtpListEntry::Type::file;
    std::int64_t nSize = -1;

    bool IsDirectory() const { return type == corvane::FtpListEntry::Type::folder; }
};

class CFtpSession {
public:
    CFtpSession();
    ~CFtpSession();
    CFtpSession(const CFtpSession&) = delete;
    CFtpSession& operator=(const CFtpSession&) = delete;

    // Connects and logs in (USER, PASS, PWD, FEAT, OPTS UTF8, OPTS MLST). Throws CInternetException;
    // the session is then closed.
    void Open(const CFtpSessionOptions& options);
    bool IsOpen() const { return m_pCurl != nullptr; }
    // Sends QUIT when the connection is still up. Never throws.
    void Close();

    // Makes `path` (Windows-1252; absolute, or relative to the current folder; a trailing
    // "/" is allowed) the current folder. Throws CInternetException; the current folder
    // is then unchanged.
    void ChangeDirectory(const std::string& path);
    // The current folder as an absolute path without trailing "/" (except the root);
    // after Open the login folder the server reported.
    const std::string& GetCurrentDirectory() const { return m_strCurrentDir; }

    // Lists the current folder: MLSD when the server offers it, else LIST and our parser.
    // "." and ".." are included when the server sends them. Throws CInternetException.
    std::vector<CFtpFileInfo> List();

    // Every command sent since the last ClearCommandLog, one per element, without CRLF;
    // the password shows as "PASS ****".
    const std::vector<std::string>& GetCommandLog() const { return m_arrCommands; }
    void ClearCommandLog() { m_arrCommands.clear(); }

    // How a name from the server reads in Windows-1252 (see above).
    static std::string ServerNameToCp1252(const std::string& raw);

private:
    static int DebugCallback(void* handle, int type, char* data, std::size_t size, void* self);
    static std::size_t WriteCallback(char* data, std::size_t size, std::size_t count, void* self);

    int RunTransfer();
    void Perform(const std::string& url, bool nobody, const char* customRequest, bool quoteLogin);
    std::string UrlForFolder(const std::string& absPath) const;
    std::string EncodeComponent(const std::string& cp1252) const;
    std::string AbsolutePath(const std::string& path) const;
    [[noreturn]] void ThrowError(int code) const;

    void* m_pCurl = nullptr;
    void* m_pMulti = nullptr;
    CFtpSessionOptions m_options;
    std::string m_strBaseUrl;
    std::string m_strCurrentDir = "/";
    bool m_bMlsd = false;
    bool m_bMlsdChecked = false;
    std::string m_strBody;
    std::vector<std::string> m_arrReplies; // reply lines of the running request
    std::string m_strLastReply;
    std::vector<std::string> m_arrCommands;
    std::map<std::string, std::string> m_mapRawNames; // Windows-1252 name -> server bytes
    long m_nStallSeconds = 0;
    char m_szError[256] = {};
};
