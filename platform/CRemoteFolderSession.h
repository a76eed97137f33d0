#pragma once
// One FTP session for a connection of the project: opens it, lists folders, closes it.
// The connection test, the remote folder browser and `corvane-dix probe` all go this way.
//
// The session runs through the "Kestrel.CoFTP" component (CCoFtpDriver) or,
// for connections with m_bUseWinInet, through the built-in client with the system's own
// proxy settings. Every call blocks; windows make them through their blocking-work runner.
// One thread at a time. Names and paths are the server's own bytes in both directions.
#include "model/CConnectionInfo.h"
#include "model/CProxySettings.h"
#include "platform/CCoFtpDriver.h"
#include "platform/CInternetSession.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct CRemoteItem {
    enum class Kind { file, folder, link };

    std::string strName; // the server's bytes, no path
    std::string strPath; // the listed folder without trailing "/" or "\", "/", the name
    Kind kind = Kind::file;

    // Links are browsed like folders; one that leads to no folder fails when it is listed.
    bool IsBrowsable() const { return kind != Kind::file; }
};

class CRemoteFolderSession {
public:
    // Without the project's proxy the connection test sends ProxyType 0, the browser nothing.
    enum class ProxyRule { connectionTest, folderBrowser };

    enum class Outcome {
        ok,
        componentMissing, // "Kestrel.CoFTP" cannot be created
        failed,
    };
    struct Result {
        Outcome outcome = Outcome::ok;
        // The operator's text when not ok: UTF-8, control characters escaped, at most
        // corvane::kMaxErrorTextChars characters. It names the stage that failed.
        std::string strError;
        // After a listing that worked: what it does not show (lines that could not be read,
        // entries the component cannot hand on), in the server's bytes; empty when nothing.
        std::string strWarning{};
        explicit operator bool() const { return outcome == Outcome::ok; }
    };
    static constexpr const char* kComponentMissingText = "COM Component creation failed";

    CRemoteFolderSession() = default;
    // Closes a session that is still open, ignoring failures. Windows close on their worker
    // before, so that a server that does not answer never holds the interface.
    ~CRemoteFolderSession();
    CRemoteFolderSession(const CRemoteFolderSession&) = delete;
    CRemoteFolderSession& operator=(const CRemoteFolderSession&) = delete;

    // Component: made once and kept after a failed attempt; the proxy rule, then Host, User,
    // Password, Port, Passive, Flags, Timeout; Connect, Login. Built-in client: connects and
    // makes "/" current, a refusal of which does not fail the opening.
    // Host, user, password (and the proxy's when it is used) carrying a control character are
    // refused before anything is sent, naming the field: no line break ever reaches a server.
    Result Open(const CConnectionInfo& connection, const CProxySettings& proxy, ProxyRule rule);
    bool IsOpen() const { return m_bOpen; }

    // The connection test: opens as the connection test does, then lists `folder` (empty:
    // the login folder), so that the data connection is tried too. The session stays open
    // when it worked (GetWarnings then tells what may still fail for another client), and
    // is closed when the listing failed.
    Result Test(const CConnectionInfo& connection, const CProxySettings& proxy,
                const std::string& folder = {});
    // The same, with what the listing found.
    Result Test(const CConnectionInfo& connection, const CProxySettings& proxy,
                std::vector<CRemoteItem>& items, const std::string& folder = {});

    // Lists `path` (absolute; trailing separators allowed; empty: the current folder) into
    // `items`, in the server's order. A path with a control character is refused unsent.
    // The built-in client leaves out "." and ".."; the component takes what it gives.
    Result List(const std::string& path, std::vector<CRemoteItem>& items);

    // Component: Disconnect, then the instance goes, so that the next Open starts afresh; when
    // Disconnect fails the session stays open for another try. Built-in client: QUIT.
    Result Close();

    // The session's transcript so far, or that of the last attempt that failed: stages with
    // their times, commands and replies, secrets masked, control characters escaped (UTF-8).
    std::vector<std::string> GetTranscript();
    // The warnings of the last successful opening (the passive address check), safe UTF-8.
    std::vector<std::string> GetWarnings();

    // For tests and measurements: the component instance (null with the built-in client).
    const std::shared_ptr<IDispatch>& GetComponent() const { return m_component.GetDispatch(); }

private:
    void OpenComponent(const CConnectionInfo& connection, const CProxySettings& proxy, ProxyRule rule);
    // Returns the listing's warning (Result::strWarning).
    std::string ListComponent(const std::string& path, std::vector<CRemoteItem>& items);
    Result ListBuiltIn(const std::string& path, std::vector<CRemoteItem>& items);
    static Result Failure(std::string text, Outcome outcome = Outcome::failed);
    static std::optional<Result> RefuseUnsendable(const CConnectionInfo& connection,
                                                  const CProxySettings& proxy);
    static Result CaughtFailure();

    CInternetSession m_internet;
    std::unique_ptr<CFtpConnection> m_pConnection;
    CCoFtpDriver m_component;
    bool m_bOpen = false;
    // The transcript of a test whose session was closed after its listing failed.
    std::vector<std::string> m_arrFailedTranscript;
};
