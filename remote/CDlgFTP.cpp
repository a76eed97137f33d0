#include "remote/CDlgFTP.h"

#include "controls/CAnimatedProgressCtrl.h"
#include "controls/CBlockingWork.h"
#include "controls/CDialogBase.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "platform/CInternetSession.h"
#include "platform/COleException.h"
#include "remote/CDialog1.h"
#include "remote/FtpSessionSteps.h"
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

using namespace corvane::remote;

CDlgFTP::CDlgFTP(wxWindow* parent, CCorvaneDoc* pDoc)
    : wxDialog(parent, wxID_ANY, "FTP Connection", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_session(std::make_unique<CInternetSession>()), m_pDoc(pDoc) {
    BuildControls();
    Bind(wxEVT_INIT_DIALOG, &CDlgFTP::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &CDlgFTP::OnOK, this, wxID_OK);
    Bind(wxEVT_CLOSE_WINDOW, &CDlgFTP::OnCloseWindow, this);
    for (wxTextCtrl* edit : {m_editHost, m_editPort, m_editUser, m_editPassword})
        edit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { MarkChanged(); });
    m_checkPassive->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { MarkChanged(); });
    m_checkUseProxy->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUseProxy(); });
    m_checkShowPassword->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnShowPassword(); });
    m_btnProxy->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnProxy(); });
    m_checkUseWinInet->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUseWinInet(); });
    m_btnConnect->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnConnect(); });
}

CDlgFTP::~CDlgFTP() {
    // The dialog is going away: close a session that a test left open, and never
    // let a failure to say goodbye to the server stop that.
    if (m_pFtpConnection) {
        if (m_bConnected) {
            try {
                m_pFtpConnection->Close();
            } catch (...) {
            }
        }
        m_pFtpConnection.reset();
    }
    if (!m_ftp.IsEmpty()) {
        try {
            if (m_bConnected)
                m_ftp.InvokeHelper(dispid::disconnect, InvokeKind::method);
        } catch (...) {
        }
        m_ftp.ReleaseDispatch();
    }
}

void CDlgFTP::BuildControls() {
    auto du = [this](int x, int y) { return ConvertDialogToPixels(wxSize(x, y)); };
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "FTP ");
    wxStaticBox* box = group->GetStaticBox();

    auto* grid = new wxFlexGridSizer(2, du(4, 4).y, du(8, 0).x);
    grid->AddGrowableCol(1);
    auto label = [&](const char* text) {
        grid->Add(new wxStaticText(box, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, du(8, 0).x);
    };

    label("Host: ");
    m_editHost = new wxTextCtrl(box, IDC_HOST, wxString(), wxDefaultPosition, wxSize(du(191, 0).x, -1));
    grid->Add(m_editHost, 1, wxEXPAND);

    label("Port: ");
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

    label("User: ");
    m_editUser = new wxTextCtrl(box, IDC_USER);
    grid->Add(m_editUser, 1, wxEXPAND);

    label("Password: ");
    m_editPassword =
        new wxTextCtrl(box, IDC_PASSWORD, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PASSWORD);
    grid->Add(m_editPassword, 1, wxEXPAND);

    grid->AddSpacer(0);
    m_checkShowPassword = new wxCheckBox(box, IDC_SHOW_PASSWORD, "Show password");
    grid->Add(m_checkShowPassword);
    group->Add(grid, 0, wxEXPAND | wxALL, du(4, 4).x);

    auto* options = new wxBoxSizer(wxVERTICAL);
    // Kept for connections marked so in older projects; the operator never sees it.
    m_checkUseWinInet = new wxCheckBox(box, IDC_USE_WININET,
                                       "Use built-in windows FTP component with preconfigured (IE) settings");
    m_checkUseWinInet->Hide();
    options->Add(m_checkUseWinInet, 0, wxBOTTOM, du(0, 2).y);
    m_checkPassive = new wxCheckBox(box, IDC_PASSIVE, "Passive mode");
    options->Add(m_checkPassive, 0, wxBOTTOM, du(0, 2).y);
    m_checkUseProxy = new wxCheckBox(box, IDC_USE_PROXY, "Use proxy");
    options->Add(m_checkUseProxy);
    // Shown below "Passive mode" but reached before it with Tab, as operators are used to.
    m_checkUseProxy->MoveBeforeInTabOrder(m_checkPassive);
    group->Add(options, 0, wxLEFT | wxTOP, du(14, 6).x);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    m_btnProxy = new wxButton(box, IDC_PROXY, "Proxy");
    buttons->Add(m_btnProxy, 0, wxRIGHT, du(4, 0).x);
    m_btnConnect = new wxButton(box, IDC_CONNECT, "Connect");
    buttons->Add(m_btnConnect);
    group->Add(buttons, 0, wxEXPAND | wxALL, du(4, 4).x);

    auto* bottom = new wxBoxSizer(wxHORIZONTAL);
    bottom->AddStretchSpacer();
    m_btnOK = new wxButton(this, wxID_OK, "OK");
    m_btnOK->SetDefault();
    bottom->Add(m_btnOK, 0, wxRIGHT, du(4, 0).x);
    m_btnCancel = new wxButton(this, wxID_CANCEL, "Cancel");
    bottom->Add(m_btnCancel);

    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(group, 1, wxEXPAND | wxALL, du(7, 7).x);
    outer->Add(bottom, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, du(7, 7).x);
    SetSizerAndFit(outer);
    m_btnProxy->SetMinSize(du(50, 14));
    m_btnConnect->SetMinSize(du(50, 14));
}

void CDlgFTP::OnInitDialog(wxInitDialogEvent&) {
    // Showing an already shown dialog (ShowModal after Show) initialises it again in wx.
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    m_progress->SetBarColor(wxColour(0, 100, 0));
    m_progress->SetAnimation(false);
    if (CConnectionInfo* info = m_pConnection) {
        m_editHost->ChangeValue(ToWx(info->m_strHost));
        m_editPort->ChangeValue(CDialogBase::FormatNumber(info->m_nPort));
        m_editUser->ChangeValue(ToWx(info->m_strUser));
        m_editPassword->ChangeValue(ToWx(info->m_strPassword));
        m_checkUseProxy->SetValue(info->m_bUseProxy);
        m_checkShowPassword->SetValue(info->m_bShowPassword);
        m_checkPassive->SetValue(info->m_bPassive);
        m_bTested = info->m_bTestPassed;
        m_checkUseWinInet->SetValue(info->m_bUseWinInet);
    }
    OnShowPassword();
    m_editHost->SetFocus();
    OnUseWinInet();
    m_btnProxy->Enable(m_checkUseProxy->IsChecked());
    // Whatever the steps above did, the dialog opens with nothing to confirm.
    m_btnOK->Disable();
    if (m_bHostLocked)
        m_editHost->Disable();
}

void CDlgFTP::OnOK(wxCommandEvent&) {
    if (m_bBusy)
        return;
    if (CConnectionInfo* info = m_pConnection) {
        info->m_strHost = FromWx(m_editHost->GetValue());
        info->m_nPort = CDialogBase::ReadLeadingNumber(m_editPort->GetValue());
        info->m_strUser = FromWx(m_editUser->GetValue());
        info->m_strPassword = FromWx(m_editPassword->GetValue());
        info->m_bUseProxy = m_checkUseProxy->IsChecked();
        info->m_bShowPassword = m_checkShowPassword->IsChecked();
        info->m_bPassive = m_checkPassive->IsChecked();
        info->m_bTestPassed = m_bTested;
        info->m_bUseWinInet = m_checkUseWinInet->IsChecked();
    }
    EndModal(wxID_OK);
}

void CDlgFTP::OnCloseWindow(wxCloseEvent& event) {
    if (m_bBusy && event.CanVeto()) {
        event.Veto();
        return;
    }
    event.Skip();
}

void CDlgFTP::MarkChanged() {
    m_btnOK->Enable();
}

void CDlgFTP::OnUseProxy() {
    m_btnProxy->Enable(m_checkUseProxy->IsChecked());
    MarkChanged();
}

void CDlgFTP::OnShowPassword() {
    MarkChanged();
    SetPasswordShown(m_editPassword, m_checkShowPassword->IsChecked());
    m_editPassword->SetFocus();
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
    MarkChanged();
}

void CDlgFTP::OnConnect() {
    if (m_bBusy)
        return;
    m_bTested = true;
    const bool okBefore = m_btnOK->IsThisEnabled();
    bool okAfter = okBefore;
    auto enableAfterTest = [&] {
        m_btnCancel->Enable();
        m_btnOK->Enable();
        m_btnConnect->Enable();
        m_checkUseWinInet->Enable();
        m_btnOK->Enable(okAfter);
    };
    std::exception_ptr failure;
    m_bBusy = true;
    {
        wxBusyCursor wait;
        if (m_bConnected) {
            wxWindowDisabler noInput;
            try {
                DisconnectServer();
                m_progress->SetPos(0);
                m_progress->SetAnimation(false);
                m_btnConnect->SetLabel("Connect");
                m_bConnected = false;
            } catch (...) {
                failure = std::current_exception();
            }
        } else {
            // The popup shows that work is going on; it alone keeps taking events.
            auto* popup = new CDialog1(this);
            popup->ShowPopup();
            wxWindowDisabler noInput(popup);
            try {
                ConnectServer();
                m_progress->SetPos(100);
                m_progress->SetAnimation(true);
                m_btnConnect->SetLabel("Disconnect");
                m_bConnected = true;
                okAfter = true;
                enableAfterTest();
            } catch (...) {
                failure = std::current_exception();
            }
            // Gone before any message about the attempt is shown.
            popup->ClosePopup();
        }
    }
    m_bBusy = false;
    if (failure) {
        m_bTested = false;
        CDialogBase::ShowError(this, ToWx(ErrorText(failure)));
    }
    enableAfterTest();
}

void CDlgFTP::ConnectServer() {
    // The values as they stand in the controls at the click, not the record's.
    FtpLogin login;
    login.host = FromWx(m_editHost->GetValue());
    login.port = CDialogBase::ReadLeadingNumber(m_editPort->GetValue());
    login.user = FromWx(m_editUser->GetValue());
    login.password = FromWx(m_editPassword->GetValue());
    login.passive = m_checkPassive->IsChecked();

    if (m_checkUseWinInet->IsChecked()) {
        std::unique_ptr<CFtpConnection> connection;
        CBlockingWork::Run([&] {
            connection = m_session->GetFtpConnection(login.host, login.user, login.password,
                                                     login.port & 0xFFFF, login.passive);
            try {
                connection->SetCurrentDirectory("/");
            } catch (const std::exception&) {
                // The session is open; a root we may not enter does not fail the test.
            }
        });
        m_pFtpConnection = std::move(connection);
        return;
    }

    if (m_ftp.IsEmpty()) {
        std::string reason;
        if (!m_ftp.CreateDispatch(kFtpProgId, &reason)) {
            wxBusyCursorSuspender normalCursor;
            wxMessageBox("COM Component creation failed", wxTheApp->GetAppDisplayName(),
                         wxOK | wxICON_EXCLAMATION, this);
            throw COleException(reason);
        }
    }
    const bool useProxy = m_checkUseProxy->IsChecked();
    const CProxySettings proxy = m_pDoc ? m_pDoc->m_proxy : CProxySettings();
    CBlockingWork::Run([&] {
        ApplyProxy(m_ftp, useProxy, /*announceNoProxy=*/true, proxy);
        OpenComponentSession(m_ftp, login);
    });
}

void CDlgFTP::DisconnectServer() {
    if (m_pFtpConnection) {
        std::unique_ptr<CFtpConnection> connection = std::move(m_pFtpConnection);
        CBlockingWork::Run([&] { connection->Close(); });
    }
    if (!m_ftp.IsEmpty()) {
        CBlockingWork::Run([this] { m_ftp.InvokeHelper(dispid::disconnect, InvokeKind::method); });
        // The next test starts from a fresh component.
        m_ftp.ReleaseDispatch();
    }
}
