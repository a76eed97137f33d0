#include "remote/CDlgFTP.h"

#include "controls/CAnimatedProgressCtrl.h"
#include "controls/CBlockingWork.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "remote/CConnectingPopup.h"
#include "remote/CDlgTranscript.h"
#include "remote/PasswordDisplay.h"

#include <algorithm>
#include <vector>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CDlgFTP::CDlgFTP(wxWindow* parent, CCorvaneDoc* pDoc) : CRemoteDialog(parent, _("FTP Connection"), pDoc) {
    BuildControls();
    Bind(wxEVT_INIT_DIALOG, &CDlgFTP::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &CDlgFTP::OnOK, this, wxID_OK);
    EnableOkOnChange({m_editHost, m_editPort, m_editUser, m_editPassword, m_checkPassive, m_checkUseProxy,
                      m_checkShowPassword, m_checkUseWinInet});
    m_checkUseProxy->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUseProxy(); });
    m_btnProxy->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnProxy(); });
    m_checkUseWinInet->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUseWinInet(); });
    m_btnConnect->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnConnect(); });
}

CDlgFTP::~CDlgFTP() = default;

void CDlgFTP::BuildControls() {
    auto du = [this](int x, int y) { return ConvertDialogToPixels(wxSize(x, y)); };
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, _("FTP"));
    wxStaticBox* box = group->GetStaticBox();
    group->Add(BuildFields(box), 0, wxEXPAND | wxALL, du(4, 4).x);
    group->Add(BuildOptions(box), 0, wxLEFT | wxTOP, du(14, 6).x);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    m_btnProxy = new wxButton(box, IDC_PROXY, _("Proxy"));
    buttons->Add(m_btnProxy, 0, wxRIGHT, du(4, 0).x);
    m_btnConnect = new wxButton(box, IDC_CONNECT, _("Connect"));
    buttons->Add(m_btnConnect);
    group->Add(buttons, 0, wxEXPAND | wxALL, du(4, 4).x);
    // How the last test went, in words; a plain label, so screen readers read it.
    m_status = new wxStaticText(box, IDC_STATUS, wxString(), wxDefaultPosition, wxSize(-1, du(0, 18).y),
                                wxST_NO_AUTORESIZE);
    group->Add(m_status, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, du(4, 4).x);
    group->Add(BuildTestDetails(box), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, du(4, 4).x);

    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(group, 1, wxEXPAND | wxALL, du(7, 7).x);
    outer->Add(CreateButtonRow(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, du(7, 7).x);
    SetSizerAndFit(outer);
    m_btnProxy->SetMinSize(du(50, 14));
    m_btnConnect->SetMinSize(du(50, 14));
}

wxSizer* CDlgFTP::BuildFields(wxWindow* box) {
    auto du = [this](int x, int y) { return ConvertDialogToPixels(wxSize(x, y)); };
    auto* grid = new wxFlexGridSizer(2, du(4, 4).y, du(8, 0).x);
    grid->AddGrowableCol(1);
    auto label = [&](const char* text) {
        grid->Add(new wxStaticText(box, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, du(8, 0).x);
    };

    label(_("Host:"));
    m_editHost = new wxTextCtrl(box, IDC_HOST, wxString(), wxDefaultPosition, wxSize(du(191, 0).x, -1));
    grid->Add(m_editHost, 1, wxEXPAND);

    label(_("Port:"));
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

    label(_("User:"));
    m_editUser = new wxTextCtrl(box, IDC_USER);
    grid->Add(m_editUser, 1, wxEXPAND);

    label(_("Password:"));
    const corvane::remote::PasswordRow password =
        corvane::remote::AddPasswordRow(box, grid, IDC_PASSWORD, IDC_SHOW_PASSWORD);
    m_editPassword = password.edit;
    m_checkShowPassword = password.show;
    return grid;
}

wxSizer* CDlgFTP::BuildOptions(wxWindow* box) {
    auto du = [this](int x, int y) { return ConvertDialogToPixels(wxSize(x, y)); };
    auto* options = new wxBoxSizer(wxVERTICAL);
    // Kept for connections marked so in older projects; the operator never sees it.
    m_checkUseWinInet = new wxCheckBox(
        box, IDC_USE_WININET, _("Use built-in Windows FTP component with preconfigured (IE) settings"));
    m_checkUseWinInet->Hide();
    options->Add(m_checkUseWinInet, 0, wxBOTTOM, du(0, 2).y);
    m_checkPassive = new wxCheckBox(box, IDC_PASSIVE, _("Passive mode"));
    options->Add(m_checkPassive, 0, wxBOTTOM, du(0, 2).y);
    m_checkUseProxy = new wxCheckBox(box, IDC_USE_PROXY, _("Use proxy"));
    options->Add(m_checkUseProxy);
    // Shown below "Passive mode" but reached before it with Tab, as operators are used to.
    m_checkUseProxy->MoveBeforeInTabOrder(m_checkPassive);
    return options;
}

void CDlgFTP::OnInitDialog(wxInitDialogEvent& event) {
    // The base opens the dialog with OK disabled.
    event.Skip();
    if (HasOpened())
        return;
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
    corvane::remote::ApplyShowPassword({m_editPassword, m_checkShowPassword});
    OnUseWinInet();
    m_btnProxy->Enable(m_checkUseProxy->IsChecked());
    if (m_bHostLocked)
        m_editHost->Disable();
}

void CDlgFTP::OnOK(wxCommandEvent&) {
    if (CConnectionInfo* info = m_pConnection) {
        CConnectionInfo typed = *info;
        if (!ReadTyped(typed))
            return;
        if (const wxString refusal = m_hostCheck ? m_hostCheck(typed.m_strHost) : wxString();
            !refusal.empty()) {
            ShowInformation(this, refusal, kCaptionInformation);
            ReturnFocusTo(m_editHost);
            return;
        }
        typed.m_bShowPassword = m_checkShowPassword->IsChecked();
        typed.m_bTestPassed = m_bTested;
        *info = typed;
    }
    EndModal(wxID_OK);
}

void CDlgFTP::OnUseProxy() {
    m_btnProxy->Enable(m_checkUseProxy->IsChecked());
}

void CDlgFTP::OnProxy() {
    if (!Doc() || !m_proxyEditor)
        return;
    // The proxy belongs to the project, shared by every connection that uses one.
    if (m_proxyEditor(this, Doc()))
        Doc()->SetModifiedFlag(true);
    ReturnFocusTo(m_btnProxy);
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
    wxButton* ok = GetOkButton();
    const bool okBefore = ok->IsThisEnabled();
    if (m_bConnected)
        Disconnect();
    else
        Connect(typed);
    ok->Enable(okBefore || m_bConnected);
    ReturnFocusTo(m_btnConnect);
}

void CDlgFTP::Connect(const CConnectionInfo& typed) {
    // The popup shows that work is going on and offers to cancel it; it alone takes
    // input while the dialog waits.
    auto* popup = new CConnectingPopup(this);
    popup->ShowPopup();
    Result result;
    std::vector<CRemoteItem> top;
    const bool done = TestSession(typed, top, popup->GetCancelButton(), result);
    // Gone before any message about the attempt is shown.
    popup->ClosePopup(done ? CConnectingPopup::Closing::afterAMoment : CConnectingPopup::Closing::now);
    m_bTested = done && result;
    if (!done) {
        // A session opened before the operator cancelled the listing is not kept.
        if (Session().IsOpen())
            CBlockingWork::Run([this] { Session().Close(); });
        SetStatus(wxGetTranslation(kCancelledText));
        return;
    }
    ShowTestDetails(result);
    if (!result) {
        SetStatus(wxString());
        ShowError(this, RemoteNameToWx(result.strError));
        return;
    }
    m_progress->SetPos(100);
    m_progress->SetAnimation(true);
    m_btnConnect->SetLabel(_("Disconnect"));
    m_bConnected = true;
    const wxString who = wxString::Format(_("Connected to %s as %s."), ToWx(typed.m_strHost),
                                          typed.m_strUser.empty() ? _("anonymous") : ToWx(typed.m_strUser));
    const auto folders =
        std::count_if(top.begin(), top.end(), [](const CRemoteItem& i) { return i.IsBrowsable(); });
    SetStatus(who +
              wxString::Format(wxPLURAL(" %d folder in the login folder.", " %d folders in the login folder.",
                                        static_cast<unsigned>(folders)),
                               int(folders)));
}

void CDlgFTP::Disconnect() {
    Result result;
    CBlockingWork::Run([&] { result = Session().Close(); });
    if (!result) {
        m_bTested = false;
        ShowError(this, RemoteNameToWx(result.strError));
        return;
    }
    // The session worked as far as it was asked to.
    m_bTested = true;
    m_progress->SetPos(0);
    m_progress->SetAnimation(false);
    m_btnConnect->SetLabel(_("Connect"));
    m_bConnected = false;
    SetStatus(_("Disconnected."));
}

void CDlgFTP::SetStatus(const wxString& text) {
    m_status->SetLabelText(text);
    m_status->SetToolTip(text);
    m_status->Wrap(m_status->GetSize().x);
}

wxSizer* CDlgFTP::BuildTestDetails(wxWindow* parent) {
    // The label stays in place when empty, so that Details sits under Connect.
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_labelWarning = new wxStaticText(parent, IDC_PASSIVE_WARNING, wxString());
    m_labelWarning->SetForegroundColour(wxColour(160, 80, 0));
    row->Add(m_labelWarning, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, ConvertDialogToPixels(wxSize(4, 0)).x);
    m_btnDetails = new wxButton(parent, IDC_DETAILS, _("Details"));
    m_btnDetails->SetToolTip(_("The test's commands and the server's replies, to read and to copy"));
    m_btnDetails->Hide();
    m_btnDetails->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDetails(); });
    row->Add(m_btnDetails, 0, wxALIGN_TOP);
    return row;
}

void CDlgFTP::ShowTestDetails(const Result& result) {
    m_arrTranscript = Session().GetTranscript();
    wxString warning;
    if (result)
        for (const std::string& line : Session().GetWarnings())
            warning += (warning.empty() ? "" : "\n") + wxString::FromUTF8(line);
    m_labelWarning->SetLabel(warning);
    m_labelWarning->Wrap(ConvertDialogToPixels(wxSize(190, 0)).x);
    m_btnDetails->Show();
    GetSizer()->SetSizeHints(this);
    Layout();
}

void CDlgFTP::OnDetails() {
    CDlgTranscript details(this, m_arrTranscript);
    details.ShowModal();
}
