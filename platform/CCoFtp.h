#pragma once
// The FTP automation component "Kestrel.CoFTP" (members in CoFtpDispIds.h), on the
// libcurl core of CFtpSession.
//
// Connect checks the properties and prepares the session; Login opens the connection
// and logs in, so a hung or refusing server fails in Login. Members 34 and 35 are
// accepted with their types and otherwise ignored: the timeouts come from NetTimeouts.h.
// Our own members Transcript and Warnings give the session's transcript and the passive
// address warnings of the last Login, one a line, as safe UTF-8.
// The argument checks (count and type of every member) live here, once: callers go
// through the typed CCoFtpDriver.
// A fresh instance uses no proxy until ProxyType says otherwise.
// Failures of the server or the network raise COleDispatchException with a readable
// description; wrong member ids, kinds or argument types raise COleException. A failed
// List carries CInternetException's listing codes as its error code (m_wCode) when the
// listing was unreadable, too large or too slow.
// Entry names are the server's bytes. Symbolic links keep Kind 3 (kindLink), whether they
// lead to a folder or not; a link to a folder can be entered with ChangeDirectory.
#include "platform/CFtpSession.h"
#include "platform/CoFtpDispIds.h"
#include "platform/IDispatch.h"

#include <memory>

class CCoFtp : public IDispatch {
public:
    CCoFtp() = default;
    ~CCoFtp() override = default;

    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override;

    // Registers the component under "Kestrel.CoFTP".
    static void Register();

    // For tests and measurements: the session behind the component (null before Connect).
    CFtpSession* GetSession() const { return m_pSession.get(); }

private:
    void PutProperty(DISPID id, const std::vector<CVariant>& args);
    CVariant GetProperty(DISPID id);
    CVariant CallMethod(DISPID id, const std::vector<CVariant>& args);
    void Connect();
    void Login();
    void Disconnect();
    void ChangeDirectory(const std::string& path);
    void List(const std::string& mask);

    CFtpSessionOptions m_options;
    std::int16_t m_nTimeout = coftp::kCallerTimeoutSeconds;
    std::int32_t m_nFlags = 0;
    bool m_bPrepared = false;
    std::unique_ptr<CFtpSession> m_pSession;
    std::shared_ptr<IDispatch> m_pListing;
};
