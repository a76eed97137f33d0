#include "remote/CDlgFTP.h"

#include "controls/CAnimatedProgressCtrl.h"
#include "controls/CBlockingWork.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "remote/CConnectingPopup.h"
#include "remote/PasswordDisplay.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

using Result = CRemoteFolderSession::Result;

CDlgFTP::CDlgFTP(wxWindow* parent, CCorvaneDoc* pDoc)
    : CDialogBase(parent, _("FTP Connection")), m_session(std::make_unique<CRemoteFolderSession>()),
      m_pDoc(pDoc) {
    BuildControls();
    Bind(wxEVT_INIT_DIALOG, &CDlgFTP::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &CDlgFTP::OnOK, this, wxID_OK);
    EnableOkOnChange({m_editHost, m_editPort, m_editUser, m_editPassword, m_checkPassive, m_checkUseProxy,
                      m_checkShowPassword, m_checkUseWinInet});
    m_checkUseProxy->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUseProxy(); });
    m_checkShowPassword->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        OnShowPassword();
        m_editPassword->SetFocus();
    });
    m_btnProxy->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnProxy(); });
    m_checkUseWinInet->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUseWinInet(); });
    m_btnConnect->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnConnect(); });
}

CDlgFTP::~CDlgFTP() = default;

void CDlgFTP::BuildControls() {
    auto du = [this](int x, int y) { return ConvertDialogToPixels(wxSize(x, y)); };
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, _("FTP "));
    wxStaticBox* box = group->GetStaticBox();

    auto* grid = new wxFlexGridSizer(2, du(4, 4).y, du(8, 0).x);
    grid->AddGrowableCol(1);
    auto label = [&](const char* text) {
        grid->Add(new wxStaticText(box, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, du(8, 0).x);
    };

    label(_("Host: "));
    m_editHost = new wxTextCtrl(box, IDC_HOST, wxString(), wxDefaultPosition, wxSize(du(191, 0).x, -1));
    grid->Add(m_editHost, 1, wxEXPAND);

    label(_("Port: "));
    auto* portRow = new wxBoxSizer(wxHORIZONTAL);
    m_editPort = new wxTextCtrl(box, IDC_PORT, wxString(), wxDefaultPosition, wxSize(du(40, 0).x, -1));
    // Digits only, as typed; a pasted text is read up to its first non-digit.
    m_editPort->Bind(wxEVT_CHAR, [](wxKeyEvent& event) {
        const int key = event.GetKeyCode();
        if (key >= 0x20 && key < WXK_DELETE && (key < '0' || key > '9') && !event.HasAnyModifiers())
            return;
        event.Skip();
    });
    portRow->Add(m_editPort, 0, wxALIGN_CENTER_VERTICAL);
    // An empty frame around the bar, as the bar lights up only while a test session is open.
    auto* frame = new wxStaticBoxSizer(wxHORIZONTAL, box, wxString());
    m_progress = new CAnimatedProgressCtrl(frame->GetStaticBox(), IDC_PROGRESS);
    m_progress->SetMinSize(du(134, 8));
    frame->Add(m_progress, 1, wxALIGN_CENTER_VERTICAL | wxALL, 2);
    portRow->Add(frame, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, du(11, 0).x);
    grid->Add(portRow, 1, wxEXPAND);

    label(_("User: "));
    m_editUser = new wxTextCtrl(box, IDC_USER);
    grid->Add(m_editUser, 1, wxEXPAND);

    label(_("Password: "));
    m_editPassword =
        new wxTextCtrl(box, IDC_PASSWORD, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PASSWORD);
    grid->Add(m_editPassword, 1, wxEXPAND);

    grid->AddSpacer(0);
    m_checkShowPassword = new wxCheckBox(box, IDC_SHOW_PASSWORD, _("Show password"));
    grid->Add(m_checkShowPassword);
    group->Add(grid, 0, wxEXPAND | wxALL, du(4, 4).x);

    auto* options = new wxBoxSizer(wxVERTICAL);
    // Kept for connections marked so in older projects; the operator never sees it.
    m_checkUseWinInet = new wxCheckBox(
        box, IDC_USE_WININET, _("Use built-in windows FTP component with preconfigured (IE) settings"));
    m_checkUseWinInet->Hide();
    options->Add(m_checkUseWinInet, 0, wxBOTTOM, du(0, 2).y);
    m_checkPassive = new wxCheckBox(box, IDC_PASSIVE, _("Passive mode"));
    options->Add(m_checkPassive, 0, wxBOTTOM, du(0, 2).y);
    m_checkUseProxy = new wxCheckBox(box, IDC_USE_PROXY, _("Use proxy"));
    options->Add(m_checkUseProxy);
    // Shown below "Passive mode" but reached before it with Tab, as operators are used to.
    m_checkUseProxy->MoveBeforeInTabOrder(m_checkPassive);
    group->Add(options, 0, wxLEFT | wxTOP, du(14, 6).x);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    m_btnProxy = new wxButton(box, IDC_PROXY, _("Proxy"));
    buttons->Add(m_btnProxy, 0, wxRIGHT, du(4, 0).x);
    m_btnConnect = new wxButton(box, IDC_CONNECT, _("Connect"));
    buttons->Add(m_btnConnect);
    group->Add(buttons, 0, wxEXPAND | wxALL, du(4, 4).x);

    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(group, 1, wxEXPAND | wxALL, du(7, 7).x);
    outer->Add(CreateButtonRow(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, du(7, 7).x);
    SetSizerAndFit(outer);
    m_btnProxy->SetMinSize(du(50, 14));
    m_btnConnect->SetMinSize(du(50, 14));
}

void CDlgFTP::OnInitDialog(wxInitDialogEvent& event) {
    // The base opens the dialog with OK disabled.
    event.Skip();
    // Showing an already shown dialog (ShowModal after Show) initialises it again in wx.
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    m_progress->SetBarColor(wxColour(0, 100, 0));
    m_progress->SetAnimation(false);
    if (CConnectionInfo* info = m_pConnection) {
        m_editHost->ChangeValue(ToWx(info->m_strHost));
        m_editPort->ChangeValue(FormatNumber(info->m_nPort));
        m_editUser->ChangeValue(ToWx(info->m_strUser));
        m_editPassword->ChangeValue(ToWx(info->m_strPassword));
        m_checkUseProxy->SetValue(info->m_bUseProxy);
        m_checkShowPassword->SetValue(info->m_bShowPassword);
        m_checkPassive->SetValue(info->m_bPassive);
        m_bTested = info->m_bTestPassed;
        m_checkUseWinInet->SetValue(info->m_bUseWinInet);
    }
    OnShowPassword();
    OnUseWinInet();
    m_btnProxy->Enable(m_checkUseProxy->IsChecked());
    if (m_bHostLocked)
        m_editHost->Disable();
}

void CDlgFTP::OnOK(wxCommandEvent&) {
    if (CConnectionInfo* info = m_pConnection) {
        if (!ReadTyped(*info))
            return;
        info->m_bShowPassword = m_checkShowPassword->IsChecked();
        info->m_bTestPassed = m_bTested;
    }
    EndModal(wxID_OK);
}

void CDlgFTP::EndModal(int retCode) {
    // A server that does not answer holds the worker, never the window.
    if (m_session->IsOpen())
        CBlockingWork::Run([this] { m_session->Close(); });
    CDialogBase::EndModal(retCode);
}

void CDlgFTP::OnUseProxy() {
    m_btnProxy->Enable(m_checkUseProxy->IsChecked());
}

void CDlgFTP::OnShowPassword() {
    corvane::remote::SetPasswordShown(m_editPassword, m_checkShowPassword->IsChecked());
}

void CDlgFTP::OnProxy() {
    if (!m_pDoc || !m_proxyEditor)
        return;
    // The proxy belongs to the project, shared by every connection that uses one.
    if (m_proxyEditor(this, m_pDoc))
        m_pDoc->SetModifiedFlag(true);
}

void CDlgFTP::OnUseWinInet() {
    // The built-in client goes through the system's own proxy settings.
    const bool own = !m_checkUseWinInet->IsChecked();
    m_checkUseProxy->Show(own);
    m_btnProxy->Show(own);
    Layout();
}

bool CDlgFTP::ReadTyped(CConnectionInfo& info) {
    if (!StoreTyped(this, {{wxTRANSLATE("Host"), m_editHost->GetValue(), &info.m_strHost},
                           {wxTRANSLATE("User"), m_editUser->GetValue(), &info.m_strUser},
                           {wxTRANSLATE("Password"), m_editPassword->GetValue(), &info.m_strPassword}}))
        return false;
    info.m_nPort = ReadLeadingNumber(m_editPort->GetValue());
    info.m_bUseProxy = m_checkUseProxy->IsChecked();
    info.m_bPassive = m_checkPassive->IsChecked();
    info.m_bUseWinInet = m_checkUseWinInet->IsChecked();
    return true;
}

void CDlgFTP::OnConnect() {
    // The values as they stand in the controls at the click, not the record's; text
    // OK would refuse is refused before any connection is tried.
    CConnectionInfo typed;
    if (!m_bConnected && !ReadTyped(typed))
        return;
    m_bTested = true;
    wxButton* ok = GetOkButton();
    bool okAfter = ok->IsThisEnabled();
    Result result;
    if (m_bConnected) {
        CBlockingWork::Run([&] { result = m_session->Close(); });
        if (result) {
            m_progress->SetPos(0);
            m_progress->SetAnimation(false);
            m_btnConnect->SetLabel(_("Connect"));
            m_bConnected = false;
        }
    } else {
        // The popup shows that work is going on; it stays live while the dialog takes no input.
        auto* popup = new CConnectingPopup(this);
        popup->ShowPopup();
        result = ConnectServer(typed);
        if (result) {
            m_progress->SetPos(100);
            m_progress->SetAnimation(true);
            m_btnConnect->SetLabel(_("Disconnect"));
            m_bConnected = true;
            okAfter = true;
            ok->Enable();
        }
        // Gone before any message about the attempt is shown.
        popup->ClosePopup();
    }
    if (!result) {
        m_bTested = false;
        ShowError(this, RemoteNameToWx(result.strError));
    }
    ok->Enable(okAfter);
}

Result CDlgFTP::ConnectServer(const CConnectionInfo& typed) {
    const CProxySettings proxy = m_pDoc ? m_pDoc->m_proxy : CProxySettings();
    Result result;
    CBlockingWork::Run(
        [&] { result = m_session->Open(typed, proxy, CRemoteFolderSession::ProxyRule::connectionTest); });
    if (result.outcome == CRemoteFolderSession::Outcome::componentMissing) {
        wxBusyCursorSuspender normalCursor;
        wxMessageBox(CRemoteFolderSession::kComponentMissingText, wxTheApp->GetAppDisplayName(),
                     wxOK | wxICON_EXCLAMATION, this);
    }
    return result;
}
