#pragma once
// What the connection dialog and the folder browser share: their FTP session, opened
// with the project's proxy and worked on the worker thread, each step cancellable by
// the operator, and closed on the worker before the dialog ends.
#include "controls/CDialogBase.h"
#include "platform/CRemoteFolderSession.h"

#include <functional>
#include <memory>
#include <vector>

class CCorvaneDoc;

class CRemoteDialog : public CDialogBase {
public:
    using Result = CRemoteFolderSession::Result;
    // What the dialogs say after the operator cancelled a step.
    static constexpr const char* kCancelledText = wxTRANSLATE("Cancelled");

    ~CRemoteDialog() override;
    // Closes an open session first, on the worker: a server that does not answer holds
    // the worker, never the window.
    void EndModal(int retCode) override;

protected:
    CRemoteDialog(wxWindow* parent, const wxString& title, CCorvaneDoc* pDoc,
                  long style = wxDEFAULT_DIALOG_STYLE);

    // Runs `step` on the session on the worker; Escape or a click on `cancelButton` (may
    // be null) cancels it. False when the operator cancelled it: `result` then failed
    // and its text is the library's, not for the operator.
    bool RunStep(const std::function<Result(CRemoteFolderSession&)>& step, wxWindow* cancelButton,
                 Result& result);
    // Opens the session for `connection` with the project's proxy, as RunStep does. A
    // missing component is also said in a box, as it is no fault of the connection.
    bool OpenSession(const CConnectionInfo& connection, CRemoteFolderSession::ProxyRule rule,
                     wxWindow* cancelButton, Result& result);

    // The connection test (open, then list the login folder into `items`), as RunStep does;
    // a missing component is said in a box, as OpenSession says it.
    bool TestSession(const CConnectionInfo& connection, std::vector<CRemoteItem>& items,
                     wxWindow* cancelButton, Result& result);

    CRemoteFolderSession& Session() { return *m_session; }
    CCorvaneDoc* Doc() const { return m_pDoc; }

private:
    // RunStep with the project's proxy handed to `step`; a missing component is said in
    // a box, as it is no fault of the connection.
    bool RunWithProxy(const std::function<Result(CRemoteFolderSession&, const CProxySettings&)>& step,
                      wxWindow* cancelButton, Result& result);
    void SayIfComponentMissing(const Result& result);

    std::unique_ptr<CRemoteFolderSession> m_session;
    CCorvaneDoc* m_pDoc;
};
