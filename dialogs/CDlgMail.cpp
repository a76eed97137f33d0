#include "dialogs/CDlgMail.h"

#include "controls/AccessibleName.h"
#include "controls/CBlockingWork.h"
#include "controls/CIconListBox.h"
#include "controls/ResourceArt.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/VisibleText.h"
#include "platform/TestMessage.h"

#include <string>
#include <vector>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/gbsizer.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

namespace {
// Longest failure text a message box shows, in characters.
constexpr std::size_t kMaxErrorText = 255;
} // namespace

CDlgMail::CDlgMail(wxWindow* parent, CCorvaneDoc* pDoc)
    : CDialogBase(parent, _("Mail account")), m_pDoc(pDoc), m_timer(this, kIdResultTimer) {
    BuildControls();
    // Typing a recipient to add is not a change of the account yet.
    EnableOkOnChange({m_pServer, m_pUser, m_pPassword, m_pFrom, m_pSubject, m_pPort});
    Bind(wxEVT_INIT_DIALOG, &CDlgMail::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &CDlgMail::OnAdd, this, kIdAdd);
    Bind(wxEVT_BUTTON, &CDlgMail::OnDelete, this, kIdDelete);
    Bind(wxEVT_BUTTON, &CDlgMail::OnEdit, this, kIdEdit);
    Bind(wxEVT_BUTTON, &CDlgMail::OnSend, this, kIdSend);
    Bind(wxEVT_BUTTON, &CDlgMail::OnOK, this, wxID_OK);
    Bind(wxEVT_TIMER, &CDlgMail::OnTimer, this, kIdResultTimer);
    PressOnKey(m_pRecipient, WXK_RETURN, kIdAdd);
    PressOnKey(m_pRecipients, WXK_DELETE, kIdDelete);
    m_pRecipients->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { PressButton(kIdEdit); });
}

void CDlgMail::BuildControls() {
    m_layout.gap = FromDIP(7);
    m_layout.row = FromDIP(6);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(BuildAccountGroup(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, m_layout.gap);
    top->Add(BuildRecipientsGroup(), 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, m_layout.gap);
    top->Add(BuildTestRow(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 2 * m_layout.gap);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, m_layout.gap);
    top->Add(CreateButtonRow(), 0, wxEXPAND | wxALL, m_layout.gap);

    // Labels and the right-hand column line up across both groups and the test row.
    int labelWidth = 0;
    for (wxStaticText* l : m_layout.labels)
        labelWidth = std::max(labelWidth, l->GetBestSize().x);
    for (wxStaticText* l : m_layout.labels)
        l->SetMinSize(wxSize(labelWidth, -1));
    int rightWidth = ConvertDialogToPixels(wxSize(50, -1)).x;
    for (wxWindow* w : m_layout.rightColumn)
        rightWidth = std::max(rightWidth, w->GetBestSize().x);
    for (wxWindow* w : m_layout.rightColumn)
        w->SetMinSize(wxSize(rightWidth, -1));
    SetSizerAndFit(top);
    // The result line wraps inside the width the dialog has.
    m_pResult->SetMinSize(wxSize(1, -1));
}

wxStaticText* CDlgMail::AddLabel(wxWindow* parent, const wxString& text) {
    auto* label = new wxStaticText(parent, wxID_ANY, text);
    m_layout.labels.push_back(label);
    return label;
}

wxSizer* CDlgMail::BuildAccountGroup() {
    auto* account = new wxStaticBoxSizer(wxVERTICAL, this, _("Mail account"));
    wxWindow* box = account->GetStaticBox();
    const int editWidth = ConvertDialogToPixels(wxSize(167, -1)).x;
    auto* grid = new wxGridBagSizer(m_layout.row, m_layout.gap);
    const auto left = wxALIGN_CENTER_VERTICAL;
    grid->Add(AddLabel(box, _("Server")), wxGBPosition(0, 0), wxDefaultSpan, left);
    m_pServer = new wxTextCtrl(box, kIdServer, wxString(), wxDefaultPosition, wxSize(editWidth, -1));
    grid->Add(m_pServer, wxGBPosition(0, 1), wxDefaultSpan, wxEXPAND);
    // The picture stands beside the first two rows, above "Port number".
    grid->Add(new wxStaticBitmap(box, wxID_ANY, GetResourceBitmap(IDB_DECORATION)), wxGBPosition(0, 2),
              wxGBSpan(2, 1), wxALIGN_CENTER);
    grid->Add(AddLabel(box, _("Username")), wxGBPosition(1, 0), wxDefaultSpan, left);
    m_pUser = new wxTextCtrl(box, kIdUser);
    grid->Add(m_pUser, wxGBPosition(1, 1), wxDefaultSpan, wxEXPAND);
    grid->Add(AddLabel(box, _("Password")), wxGBPosition(2, 0), wxDefaultSpan, left);
    m_pPassword =
        new wxTextCtrl(box, kIdPassword, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PASSWORD);
    grid->Add(m_pPassword, wxGBPosition(2, 1), wxDefaultSpan, wxEXPAND);
    auto* portLabel = new wxStaticText(box, wxID_ANY, _("Port number"));
    grid->Add(portLabel, wxGBPosition(2, 2), wxDefaultSpan, wxALIGN_BOTTOM);
    grid->Add(AddLabel(box, _("From")), wxGBPosition(3, 0), wxDefaultSpan, left);
    m_pFrom = new wxTextCtrl(box, kIdFrom);
    grid->Add(m_pFrom, wxGBPosition(3, 1), wxDefaultSpan, wxEXPAND);
    // 25, 587 (submission) or 465 (TLS from the start): digits only, one port number long.
    m_pPort = new wxTextCtrl(box, kIdPort, wxString(), wxDefaultPosition, wxDefaultSize, 0,
                             wxTextValidator(wxFILTER_DIGITS));
    m_pPort->SetMaxLength(5);
    corvane::SetAccessibleName(m_pPort, _("Port number"));
    grid->Add(m_pPort, wxGBPosition(3, 2), wxDefaultSpan, wxEXPAND);
    grid->Add(AddLabel(box, _("Subject")), wxGBPosition(4, 0), wxDefaultSpan, left);
    m_pSubject = new wxTextCtrl(box, kIdSubject);
    grid->Add(m_pSubject, wxGBPosition(4, 1), wxGBSpan(1, 2), wxEXPAND);
    grid->AddGrowableCol(1);
    m_layout.rightColumn.insert(m_layout.rightColumn.end(), {portLabel, m_pPort});
    account->Add(grid, 1, wxEXPAND | wxALL, m_layout.gap);
    return account;
}

wxSizer* CDlgMail::BuildRecipientsGroup() {
    auto* recipients = new wxStaticBoxSizer(wxVERTICAL, this, _("Recipients"));
    wxWindow* box = recipients->GetStaticBox();
    auto* grid = new wxFlexGridSizer(3, m_layout.row, m_layout.gap);
    grid->AddGrowableCol(1);
    grid->AddGrowableRow(0);
    m_pRecipients = new CIconListBox(box, kIdRecipients, false, wxDefaultPosition,
                                     ConvertDialogToPixels(wxSize(167, 74)), wxBORDER_SUNKEN);
    m_pRecipient = new wxTextCtrl(box, kIdRecipient);
    auto* del = new wxButton(box, kIdDelete, _("Delete"));
    auto* edit = new wxButton(box, kIdEdit, _("Edit"));
    auto* add = new wxButton(box, kIdAdd, _("Add"));
    m_layout.rightColumn.insert(m_layout.rightColumn.end(), {del, edit, add});
    grid->Add(AddLabel(box, wxString()));
    grid->Add(m_pRecipients, 1, wxEXPAND);
    auto* listButtons = new wxBoxSizer(wxVERTICAL);
    listButtons->AddStretchSpacer();
    listButtons->Add(del, 0, wxEXPAND | wxBOTTOM, FromDIP(3));
    listButtons->Add(edit, 0, wxEXPAND);
    grid->Add(listButtons, 0, wxEXPAND);
    grid->AddSpacer(0);
    grid->Add(m_pRecipient, 1, wxEXPAND);
    grid->Add(add, 0, wxEXPAND);
    recipients->Add(grid, 1, wxEXPAND | wxALL, m_layout.gap);
    return recipients;
}

wxSizer* CDlgMail::BuildTestRow() {
    auto* test = new wxFlexGridSizer(3, m_layout.row, m_layout.gap);
    test->AddGrowableCol(1);
    test->Add(AddLabel(this, _("Test message")), 0, wxALIGN_CENTER_VERTICAL);
    m_pProgress = new wxGauge(this, kIdProgress, 100, wxDefaultPosition,
                              wxSize(ConvertDialogToPixels(wxSize(95, -1)).x, -1));
    test->Add(m_pProgress, 0, wxALIGN_CENTER_VERTICAL);
    auto* send = new wxButton(this, kIdSend, _("Send"));
    m_layout.rightColumn.push_back(send);
    test->Add(send, 0, wxEXPAND);
    // How the last test went, in words; a plain label, so screen readers read it.
    test->AddSpacer(0);
    m_pResult = new wxStaticText(this, kIdResult, wxString());
    test->Add(m_pResult, 0, wxEXPAND);
    return test;
}

void CDlgMail::OnInitDialog(wxInitDialogEvent& event) {
    // The base opens the dialog with OK disabled.
    event.Skip();
    if (HasOpened())
        return;
    if (m_images.CreateFromBitmap(IDB_IMAGES16, 16, 16, CBitmapImageList::kMaskColour))
        m_pRecipients->SetImageList(&m_images);
    const CMailAccount& mail = m_pDoc->m_mail;
    for (const std::string& r : mail.m_arrRecipients)
        m_pRecipients->AddString(ToWx(r), IMG_PERSON);
    if (m_pRecipients->GetCount() > 0)
        m_pRecipients->SetCurSel(0);
    m_pServer->ChangeValue(ToWx(mail.m_strServer));
    m_pUser->ChangeValue(ToWx(mail.m_strUser));
    m_pPassword->ChangeValue(ToWx(mail.m_strPassword));
    m_pFrom->ChangeValue(ToWx(mail.m_strFrom));
    m_pSubject->ChangeValue(ToWx(mail.m_strSubject));
    m_pPort->ChangeValue(FormatNumber(mail.m_nPort));
    m_pRecipient->ChangeValue(kRecipientExample);
}

CDlgMail::~CDlgMail() {
    m_timer.Stop();
}

void CDlgMail::OnAdd(wxCommandEvent&) {
    wxString text = m_pRecipient->GetValue();
    text.Trim(true).Trim(false);
    std::string bytes;
    if (text.empty() || !ToCodePage(this, _("Recipient"), text, bytes))
        return;
    m_pRecipients->AddString(text, IMG_PERSON);
    MarkChanged();
}

void CDlgMail::OnDelete(wxCommandEvent&) {
    const int sel = m_pRecipients->GetCurSel();
    if (sel < 0)
        return;
    m_pRecipients->DeleteString(sel);
    MarkChanged();
}

void CDlgMail::OnEdit(wxCommandEvent&) {
    const int sel = m_pRecipients->GetCurSel();
    if (sel < 0)
        return;
    // Ready for the change to be typed and added with Enter.
    m_pRecipient->ChangeValue(m_pRecipients->GetText(sel));
    m_pRecipient->SetFocus();
    m_pRecipient->SetInsertionPointEnd();
}

void CDlgMail::OnSend(wxCommandEvent&) {
    m_pProgress->SetValue(0);
    // The account as typed now, not as stored.
    CMailAccount typed;
    if (!StoreInto(typed))
        return;
    SetResult(wxString());
    std::string failure, notice;
    bool sent = false;
    // Escape or Cancel ends the attempt; the dialog stays.
    const bool ranToEnd = CBlockingWork::RunCancellable(
        [&] {
            try {
                notice = corvane::SendTestMessage(typed);
                sent = true;
            } catch (const std::exception& e) {
                failure = e.what();
            }
        },
        FindWindow(wxID_CANCEL));
    ReturnFocusTo(FindWindow(kIdSend));
    if (!sent && !ranToEnd) {
        SetResult(_("Cancelled"));
        return;
    }
    if (!sent) {
        // The component's text is UTF-8 and may quote the server in any language.
        ShowError(
            this,
            wxString::FromUTF8(corvane::VisibleText(corvane::RemoteNameToUtf8(failure))).Left(kMaxErrorText));
        ReturnFocusTo(FindWindow(kIdSend));
        return;
    }
    const std::size_t count = typed.m_arrRecipients.size();
    SetResult(count == 0 ? _("No recipient given: the server took the login, and no message was sent.")
                         : wxString::Format(wxPLURAL("Test message sent to %zu recipient.",
                                                     "Test message sent to %zu recipients.", count),
                                            count));
    m_pProgress->SetValue(100);
    m_timer.Start(kResultMs);
    if (!notice.empty())
        ShowInformation(this, wxString::FromUTF8(notice), kCaptionInformation);
}

void CDlgMail::SetResult(const wxString& text) {
    m_pResult->SetLabelText(text);
    m_pResult->SetToolTip(text);
    m_pResult->Wrap(m_pResult->GetSize().x);
    Layout();
}

void CDlgMail::OnTimer(wxTimerEvent&) {
    m_pProgress->SetValue(0);
    m_timer.Stop();
}

void CDlgMail::OnOK(wxCommandEvent&) {
    if (StoreInto(m_pDoc->m_mail))
        EndModal(wxID_OK);
}

bool CDlgMail::StoreInto(CMailAccount& mail) {
    const std::int32_t port = ReadLeadingNumber(m_pPort->GetValue());
    if (port < 1 || port > 65535) {
        ShowInformation(this, _("Port number: enter a number from 1 to 65535."), kCaptionInformation);
        m_pPort->SetFocus();
        return false;
    }
    if (!StoreTyped(this, {{wxTRANSLATE("Server"), m_pServer->GetValue(), &mail.m_strServer},
                           {wxTRANSLATE("Username"), m_pUser->GetValue(), &mail.m_strUser},
                           {wxTRANSLATE("Password"), m_pPassword->GetValue(), &mail.m_strPassword},
                           {wxTRANSLATE("From"), m_pFrom->GetValue(), &mail.m_strFrom},
                           {wxTRANSLATE("Subject"), m_pSubject->GetValue(), &mail.m_strSubject}}))
        return false;
    mail.m_nPort = port;
    mail.m_arrRecipients.clear();
    for (int i = 0; i < m_pRecipients->GetCount(); ++i)
        mail.m_arrRecipients.push_back(FromWx(m_pRecipients->GetText(i)));
    return true;
}
