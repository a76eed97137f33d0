#pragma once
// Opens an FTP session for one of the project's connections exactly as the connection
// test does: through the "Kestrel.CoFTP" component, or through the built-in client when
// the connection's m_bUseWinInet is set; and lists folders the way the folder browser
// does. Used by `corvane-dix probe` and reusable by the dialogs (no GUI in here; the
// calls block, so windows run them on a worker thread).
#include "model/CConnectionInfo.h"
#include "model/CProxySettings.h"
#include "platform/CInternetSession.h"
#include "platform/COleDispatchDriver.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct CRemoteItem {
    std::string strName; // Windows-1252, no path
    std::string strPath; // the listed folder without trailing "/" or "\", "/", the name
    bool bFolder = false;
};

class CFtpProbe {
public:
    // Which rule sets the component's proxy members when the connection does not use the
    // project's proxy: the connection test sends ProxyType 0, the folder browser nothing.
    enum class ProxyRule { connectionTest, folderBrowser };

    // "Kestrel.CoFTP" could not be created; what() is "COM Component creation failed".
    class CCreationFailed : public std::runtime_error {
    public:
        CCreationFailed() : std::runtime_error("COM Component creation failed") {}
    };

    // `session` is the caller's internet session for the built-in client; null: our own.
    explicit CFtpProbe(CInternetSession* session = nullptr);
    ~CFtpProbe();
    CFtpProbe(const CFtpProbe&) = delete;
    CFtpProbe& operator=(const CFtpProbe&) = delete;

    // Opens the session. Component: creates it (CCreationFailed), applies the proxy rule,
    // sets Host, User, Password, Port, Passive, 35, 34 and calls Connect, Login (an instance
    // kept from a failed attempt is reused). Built-in client: GetFtpConnection, then
    // SetCurrentDirectory("/") with its result ignored. Throws COleException,
    // COleDispatchException or CInternetException.
    void Open(const CConnectionInfo& connection, const CProxySettings& proxy, ProxyRule rule);
    bool IsOpen() const { return m_bOpen; }

    // Lists `path` (ChangeDirectory + List("*") + Listing, or SetCurrentDirectory + finder).
    // Component failures throw. With the built-in client a folder that cannot be made current
    // or listed gives an empty list, unless `strict`, when it throws CInternetException.
    // "." and ".." from the built-in client are skipped, the component's come as they are.
    std::vector<CRemoteItem> ListFolder(const std::string& path, bool strict = false);

    // Component: Disconnect, then the instance is released; built-in: closes the
    // connection. Throws what Disconnect throws (the instance is then kept).
    void Close();

    COleDispatchDriver& GetDriver() { return m_driver; }
    CFtpConnection* GetConnection() const { return m_pConnection.get(); }

    // The operator's text of a failure raised by the calls above (or any other exception).
    static std::string ErrorText(const std::exception_ptr& error);

    // The component's ProxyType for a project proxy code; none for codes outside the table.
    static std::optional<std::int32_t> ComponentProxyType(std::int32_t recordType);
    // ProxyType, then ProxyHost, ProxyPort, ProxyUser, ProxyPassword (rule above).
    static void ApplyProxy(COleDispatchDriver& ftp, bool useProxy, const CProxySettings& proxy,
                           ProxyRule rule);
    // Host, User, Password, Port (16 bits, signed), Passive (1/0), member 35 = 0, member 34 = 20.
    static void SetSessionProperties(COleDispatchDriver& ftp, const std::string& host,
                                     const std::string& user, const std::string& password, std::int32_t port,
                                     bool passive);

    struct Result {
        bool bOk = false;
        std::string strError;                // when not bOk
        std::vector<std::string> arrFolders; // names of the folders found, in listing order
    };
    // Open (connection-test rule), list `path` strictly, close.
    static Result Probe(const CConnectionInfo& connection, const CProxySettings& proxy,
                        const std::string& path);

private:
    CInternetSession m_ownSession;
    CInternetSession* m_pSession;
    COleDispatchDriver m_driver;
    std::unique_ptr<CFtpConnection> m_pConnection;
    bool m_bOpen = false;
};
