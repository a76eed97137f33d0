#include "dialogs/CDlgReports.h"

#include "controls/CIconListBox.h"
#include "model/CCorvaneDoc.h"
#include "resources/ResourceIds.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

CDlgReports::CDlgReports(wxWindow* parent, CCorvaneDoc* pDoc)
    : CDialogBase(parent, _("Reports")), m_pDoc(pDoc) {
    BuildControls();
    m_work = m_pDoc->m_reports;
    if (m_images.CreateFromBitmap(IDB_IMAGES16, 16, 16, CBitmapImageList::kMaskColour))
        m_pChannels->SetImageList(&m_images);
    m_pChannels->AddString(_("Mail"), IMG_PAGE);
    m_pChannels->AddString(_("Log"), IMG_PAGE);
    m_pChannels->SetCurSel(channelMail);
    LoadChannel(channelMail);

    // Switching the channel shown is not a change.
    EnableOkOnChange({m_pEnabled, m_pSendEmpty, m_pErrors, m_pNewFiles, m_pActions, m_pConflicts});
    m_pChannels->Bind(wxEVT_LISTBOX, &CDlgReports::OnChannel, this);
    Bind(wxEVT_BUTTON, &CDlgReports::OnOK, this, wxID_OK);
}

void CDlgReports::BuildControls() {
    const int gap = FromDIP(7);
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* body = new wxBoxSizer(wxHORIZONTAL);

    m_pChannels = new CIconListBox(this, kIdChannels, false, wxDefaultPosition,
                                   ConvertDialogToPixels(wxSize(88, 123)), wxBORDER_SUNKEN);
    body->Add(m_pChannels, 0, wxEXPAND | wxRIGHT, gap);

    m_pGroup = new wxStaticBox(this, kIdGroup, _("Mail"));
    auto* group = new wxStaticBoxSizer(m_pGroup, wxVERTICAL);
    auto* checks = new wxBoxSizer(wxVERTICAL);
    m_pEnabled = new wxCheckBox(m_pGroup, kIdEnabled, _("Enabled"));
    m_pSendEmpty = new wxCheckBox(m_pGroup, kIdSendEmpty, _("Send an empty report if nothing happened"));
    m_pErrors = new wxCheckBox(m_pGroup, kIdErrors, _("Report errors"));
    m_pNewFiles = new wxCheckBox(m_pGroup, kIdNewFiles, _("Report new and updated files"));
    m_pActions = new wxCheckBox(m_pGroup, kIdActions, _("Report actions (uploaded and downloaded files)"));
    m_pConflicts = new wxCheckBox(m_pGroup, kIdConflicts, _("Report conflicts"));
    checks->Add(m_pEnabled, 0, wxBOTTOM, gap + FromDIP(3));
    // Hidden for the log channel without closing up the rows below it.
    checks->Add(m_pSendEmpty, 0, wxBOTTOM | wxRESERVE_SPACE_EVEN_IF_HIDDEN, gap + FromDIP(3));
    for (wxCheckBox* c : {m_pErrors, m_pNewFiles, m_pActions, m_pConflicts})
        checks->Add(c, 0, wxBOTTOM, FromDIP(4));
    group->Add(checks, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 2 * gap);
    body->Add(group, 1, wxEXPAND);

    top->Add(body, 1, wxEXPAND | wxALL, gap);
    top->Add(CreateButtonRow(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizerAndFit(top);
}

void CDlgReports::LoadChannel(Channel channel) {
    if (channel == channelMail) {
        m_pEnabled->SetValue(m_work.m_bMailEnabled);
        m_pSendEmpty->SetValue(m_work.m_bMailSendEmpty);
        m_pErrors->SetValue(m_work.m_bMailErrors);
        m_pNewFiles->SetValue(m_work.m_bMailNewFiles);
        m_pActions->SetValue(m_work.m_bMailActions);
        m_pConflicts->SetValue(m_work.m_bMailConflicts);
    } else {
        m_pEnabled->SetValue(m_work.m_bLogEnabled);
        m_pErrors->SetValue(m_work.m_bLogErrors);
        m_pNewFiles->SetValue(m_work.m_bLogNewFiles);
        m_pActions->SetValue(m_work.m_bLogActions);
        m_pConflicts->SetValue(m_work.m_bLogConflicts);
    }
}

void CDlgReports::StoreChannel(Channel channel) {
    if (channel == channelMail) {
        m_work.m_bMailEnabled = m_pEnabled->GetValue();
        m_work.m_bMailSendEmpty = m_pSendEmpty->GetValue();
        m_work.m_bMailErrors = m_pErrors->GetValue();
        m_work.m_bMailNewFiles = m_pNewFiles->GetValue();
        m_work.m_bMailActions = m_pActions->GetValue();
        m_work.m_bMailConflicts = m_pConflicts->GetValue();
    } else {
        m_work.m_bLogEnabled = m_pEnabled->GetValue();
        m_work.m_bLogErrors = m_pErrors->GetValue();
        m_work.m_bLogNewFiles = m_pNewFiles->GetValue();
        m_work.m_bLogActions = m_pActions->GetValue();
        m_work.m_bLogConflicts = m_pConflicts->GetValue();
    }
}

void CDlgReports::OnChannel(wxCommandEvent&) {
    const int sel = m_pChannels->GetCurSel();
    if (sel < 0 || sel == m_shown)
        return;
    StoreChannel(m_shown);
    const auto channel = static_cast<Channel>(sel);
    // The mail group is titled differently once the operator has switched to it.
    m_pGroup->SetLabel(channel == channelMail ? _("Mail") : _("Log"));
    m_pSendEmpty->Show(channel == channelMail);
    LoadChannel(channel);
    m_shown = channel;
}

void CDlgReports::OnOK(wxCommandEvent&) {
    StoreChannel(m_shown);
    m_pDoc->m_reports = m_work;
    EndModal(wxID_OK);
}
