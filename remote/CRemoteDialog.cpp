#include "remote/CRemoteDialog.h"

#include "controls/CBlockingWork.h"
#include "model/CCorvaneDoc.h"

#include <wx/app.h>

CRemoteDialog::CRemoteDialog(wxWindow* parent, const wxString& title, CCorvaneDoc* pDoc, long style)
    : CDialogBase(parent, title, OkAtOpen::disabled, style),
      m_session(std::make_unique<CRemoteFolderSession>()), m_pDoc(pDoc) {}

CRemoteDialog::~CRemoteDialog() = default;

void CRemoteDialog::EndModal(int retCode) {
    if (m_session->IsOpen())
        CBlockingWork::Run([this] { m_session->Close(); });
    CDialogBase::EndModal(retCode);
}

bool CRemoteDialog::RunStep(const std::function<Result(CRemoteFolderSession&)>& step, wxWindow* cancelButton,
                            Result& result) {
    const bool ranToEnd = CBlockingWork::RunCancellable([&] { result = step(*m_session); }, cancelButton);
    // A step that ended well just as the operator cancelled it counts as done.
    return ranToEnd || result;
}

bool CRemoteDialog::OpenSession(const CConnectionInfo& connection, CRemoteFolderSession::ProxyRule rule,
                                wxWindow* cancelButton, Result& result) {
    return RunWithProxy([&](CRemoteFolderSession& session,
                            const CProxySettings& proxy) { return session.Open(connection, proxy, rule); },
                        cancelButton, result);
}

bool CRemoteDialog::TestSession(const CConnectionInfo& connection, std::vector<CRemoteItem>& items,
                                wxWindow* cancelButton, Result& result) {
    return RunWithProxy([&](CRemoteFolderSession& session,
                            const CProxySettings& proxy) { return session.Test(connection, proxy, items); },
                        cancelButton, result);
}

bool CRemoteDialog::RunWithProxy(
    const std::function<Result(CRemoteFolderSession&, const CProxySettings&)>& step, wxWindow* cancelButton,
    Result& result) {
    const CProxySettings proxy = m_pDoc ? m_pDoc->m_proxy : CProxySettings();
    if (!RunStep([&](CRemoteFolderSession& session) { return step(session, proxy); }, cancelButton, result))
        return false;
    SayIfComponentMissing(result);
    return true;
}

void CRemoteDialog::SayIfComponentMissing(const Result& result) {
    if (result.outcome == CRemoteFolderSession::Outcome::componentMissing)
        ShowWarning(this, CRemoteFolderSession::kComponentMissingText);
}
