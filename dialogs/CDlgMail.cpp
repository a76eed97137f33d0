#include "dialogs/CDlgMail.h"

#include "controls/CBlockingWork.h"
#include "controls/CIconListBox.h"
#include "controls/ResourceArt.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
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
    const int gap = FromDIP(7);
    const int row = FromDIP(6);
    const int editWidth = ConvertDialogToPixels(wxSize(167, -1)).x;
    const int buttonWidth = ConvertDialogToPixels(wxSize(50, -1)).x;
    auto* top = new wxBoxSizer(wxVERTICAL);

    // Labels and the right-hand column line up across both groups and the test row.
    std::vector<wxStaticText*> labels;
    std::vector<wxWindow*> rightColumn;

    auto* account = new wxStaticBoxSizer(wxVERTICAL, this, _("Mail account"));
    wxWindow* box1 = account->GetStaticBox();
    auto addLabel = [&](wxWindow* parentWin, const char* text) {
        auto* l = new wxStaticText(parentWin, wxID_ANY, text);
        labels.push_back(l);
        return l;
    };
    auto* serverLabel = addLabel(box1, _("Server "));
    m_pServer = new wxTextCtrl(box1, kIdServer, wxString(), wxDefaultPosition, wxSize(editWidth, -1));
    auto* userLabel = addLabel(box1, _("Username "));
    m_pUser = new wxTextCtrl(box1, kIdUser);
    auto* passwordLabel = addLabel(box1, _("Password"));
    m_pPassword =
        new wxTextCtrl(box1, kIdPassword, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PASSWORD);
    auto* fromLabel = addLabel(box1, _("From"));
    m_pFrom = new wxTextCtrl(box1, kIdFrom);
    auto* portLabel = new wxStaticText(box1, wxID_ANY, _("Port number"));
    m_pPort = new wxTextCtrl(box1, kIdPort, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_READONLY,
                             wxTextValidator(wxFILTER_DIGITS));
    auto* subjectLabel = addLabel(box1, _("Subject"));
    m_pSubject = new wxTextCtrl(box1, kIdSubject);
    auto* decoration = new wxStaticBitmap(box1, wxID_ANY, GetResourceBitmap(IDB_DECORATION));
    rightColumn.push_back(portLabel);
    rightColumn.push_back(m_pPort);

    auto* grid1 = new wxGridBagSizer(row, gap);
    const auto left = wxALIGN_CENTER_VERTICAL;
    grid1->Add(serverLabel, wxGBPosition(0, 0), wxDefaultSpan, left);
    grid1->Add(m_pServer, wxGBPosition(0, 1), wxDefaultSpan, wxEXPAND);
    // The picture stands beside the first two rows, above "Port number".
    grid1->Add(decoration, wxGBPosition(0, 2), wxGBSpan(2, 1), wxALIGN_CENTER);
    grid1->Add(userLabel, wxGBPosition(1, 0), wxDefaultSpan, left);
    grid1->Add(m_pUser, wxGBPosition(1, 1), wxDefaultSpan, wxEXPAND);
    grid1->Add(passwordLabel, wxGBPosition(2, 0), wxDefaultSpan, left);
    grid1->Add(m_pPassword, wxGBPosition(2, 1), wxDefaultSpan, wxEXPAND);
    grid1->Add(portLabel, wxGBPosition(2, 2), wxDefaultSpan, wxALIGN_BOTTOM);
    grid1->Add(fromLabel, wxGBPosition(3, 0), wxDefaultSpan, left);
    grid1->Add(m_pFrom, wxGBPosition(3, 1), wxDefaultSpan, wxEXPAND);
    grid1->Add(m_pPort, wxGBPosition(3, 2), wxDefaultSpan, wxEXPAND);
    grid1->Add(subjectLabel, wxGBPosition(4, 0), wxDefaultSpan, left);
    grid1->Add(m_pSubject, wxGBPosition(4, 1), wxGBSpan(1, 2), wxEXPAND);
    grid1->AddGrowableCol(1);
    account->Add(grid1, 1, wxEXPAND | wxALL, gap);
    top->Add(account, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap);

    auto* recipients = new wxStaticBoxSizer(wxVERTICAL, this, _("Recepients "));
    wxWindow* box2 = recipients->GetStaticBox();
    auto* grid2 = new wxFlexGridSizer(3, row, gap);
    grid2->AddGrowableCol(1);
    grid2->AddGrowableRow(0);
    m_pRecipients = new CIconListBox(box2, kIdRecipients, false, wxDefaultPosition,
                                     ConvertDialogToPixels(wxSize(167, 74)), wxBORDER_SUNKEN);
    m_pRecipient = new wxTextCtrl(box2, kIdRecipient);
    auto* del = new wxButton(box2, kIdDelete, _("Delete"));
    auto* edit = new wxButton(box2, kIdEdit, _("Edit"));
    auto* add = new wxButton(box2, kIdAdd, _("Add"));
    for (wxWindow* w :
         {static_cast<wxWindow*>(del), static_cast<wxWindow*>(edit), static_cast<wxWindow*>(add)})
        rightColumn.push_back(w);
    auto* listSpacer = new wxStaticText(box2, wxID_ANY, wxString());
    labels.push_back(listSpacer);
    grid2->Add(listSpacer);
    grid2->Add(m_pRecipients, 1, wxEXPAND);
    auto* listButtons = new wxBoxSizer(wxVERTICAL);
    listButtons->AddStretchSpacer();
    listButtons->Add(del, 0, wxEXPAND | wxBOTTOM, FromDIP(3));
    listButtons->Add(edit, 0, wxEXPAND);
    grid2->Add(listButtons, 0, wxEXPAND);
    grid2->AddSpacer(0);
    grid2->Add(m_pRecipient, 1, wxEXPAND);
    grid2->Add(add, 0, wxEXPAND);
    recipients->Add(grid2, 1, wxEXPAND | wxALL, gap);
    top->Add(recipients, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap);

    auto* test = new wxFlexGridSizer(3, row, gap);
    test->AddGrowableCol(1);
    auto* testLabel = addLabel(this, _("Test message"));
    m_pProgress = new wxGauge(this, kIdProgress, 100, wxDefaultPosition,
                              wxSize(ConvertDialogToPixels(wxSize(95, -1)).x, -1));
    auto* send = new wxButton(this, kIdSend, _("Send"));
    rightColumn.push_back(send);
    test->Add(testLabel, 0, wxALIGN_CENTER_VERTICAL);
    test->Add(m_pProgress, 0, wxALIGN_CENTER_VERTICAL);
    test->Add(send, 0, wxEXPAND);
    top->Add(test, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 2 * gap);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap);
    top->Add(CreateButtonRow(), 0, wxEXPAND | wxALL, gap);

    int labelWidth = 0;
    for (wxStaticText* l : labels)
        labelWidth = std::max(labelWidth, l->GetBestSize().x);
    for (wxStaticText* l : labels)
        l->SetMinSize(wxSize(labelWidth, -1));
    int rightWidth = buttonWidth;
    for (wxWindow* w : rightColumn)
        rightWidth = std::max(rightWidth, w->GetBestSize().x);
    for (wxWindow* w : rightColumn)
        w->SetMinSize(wxSize(rightWidth, -1));
    SetSizerAndFit(top);

    if (m_images.CreateFromBitmap(IDB_IMAGES16, 16, 16, wxColour(255, 0, 255)))
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

    // Typing a recipient to add is not a change of the account yet.
    EnableOkOnChange({m_pServer, m_pUser, m_pPassword, m_pFrom, m_pSubject, m_pPort});
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
    try {
        CBlockingWork::Run([&] { corvane::SendTestMessage(typed); });
    } catch (const std::exception& e) {
        // The component's text is UTF-8 and may quote the server in any language.
        ShowError(this, RemoteNameToWx(e.what()).Left(kMaxErrorText));
        return;
    }
    m_pProgress->SetValue(100);
    m_timer.Start(kResultMs);
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
    if (!StoreTyped(this, {{wxTRANSLATE("Server"), m_pServer->GetValue(), &mail.m_strServer},
                           {wxTRANSLATE("Username"), m_pUser->GetValue(), &mail.m_strUser},
                           {wxTRANSLATE("Password"), m_pPassword->GetValue(), &mail.m_strPassword},
                           {wxTRANSLATE("From"), m_pFrom->GetValue(), &mail.m_strFrom},
                           {wxTRANSLATE("Subject"), m_pSubject->GetValue(), &mail.m_strSubject}}))
        return false;
    mail.m_nPort = ReadLeadingNumber(m_pPort->GetValue());
    mail.m_arrRecipients.clear();
    for (int i = 0; i < m_pRecipients->GetCount(); ++i)
        mail.m_arrRecipients.push_back(FromWx(m_pRecipients->GetText(i)));
    return true;
}
