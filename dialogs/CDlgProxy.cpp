#include "dialogs/CDlgProxy.h"

#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "platform/ProxyTypes.h"
#include "remote/PasswordDisplay.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

CDlgProxy::CDlgProxy(wxWindow* parent, CCorvaneDoc* pDoc) : CDialogBase(parent, _("Proxy")), m_pDoc(pDoc) {
    BuildControls();
    Bind(wxEVT_BUTTON, &CDlgProxy::OnOK, this, wxID_OK);
}

bool CDlgProxy::Edit(wxWindow* parent, CCorvaneDoc* pDoc) {
    CDlgProxy dlg(parent, pDoc);
    return dlg.ShowModal() == wxID_OK;
}

void CDlgProxy::BuildControls() {
    const int gap = FromDIP(7);
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, wxString());
    wxWindow* box = group->GetStaticBox();

    auto* grid = new wxFlexGridSizer(2, gap, gap);
    grid->AddGrowableCol(1);
    const wxSize wide = ConvertDialogToPixels(wxSize(170, -1));

    grid->Add(new wxStaticText(box, wxID_ANY, _("Proxy")), 0, wxALIGN_CENTER_VERTICAL);
    m_pHost = new wxTextCtrl(box, kIdHost, wxString(), wxDefaultPosition, wxSize(wide.x, -1));
    grid->Add(m_pHost, 1, wxEXPAND);

    grid->Add(new wxStaticText(box, wxID_ANY, _("Port")), 0, wxALIGN_CENTER_VERTICAL);
    auto* portRow = new wxBoxSizer(wxHORIZONTAL);
    m_pPort = new wxTextCtrl(box, kIdPort, wxString(), wxDefaultPosition,
                             wxSize(ConvertDialogToPixels(wxSize(46, -1)).x, -1), 0,
                             wxTextValidator(wxFILTER_DIGITS));
    portRow->Add(m_pPort, 0, wxALIGN_CENTER_VERTICAL);
    portRow->AddStretchSpacer();
    portRow->Add(new wxStaticText(box, wxID_ANY, _("Proxy Type")), 0,
                 wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, gap);
    m_pType = new wxChoice(box, kIdType);
    portRow->Add(m_pType, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(portRow, 1, wxEXPAND);

    grid->Add(new wxStaticText(box, wxID_ANY, _("User")), 0, wxALIGN_CENTER_VERTICAL);
    m_pUser = new wxTextCtrl(box, kIdUser);
    grid->Add(m_pUser, 1, wxEXPAND);

    grid->Add(new wxStaticText(box, wxID_ANY, _("Password")), 0, wxALIGN_CENTER_VERTICAL);
    const corvane::remote::PasswordRow password =
        corvane::remote::AddPasswordRow(box, grid, kIdPassword, kIdShowPassword);
    m_pPassword = password.edit;
    m_pShowPassword = password.show;

    group->Add(grid, 1, wxEXPAND | wxALL, gap);
    top->Add(group, 1, wxEXPAND | wxALL, gap);
    top->Add(CreateButtonRow(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizerAndFit(top);

    EnableOkOnChange({m_pHost, m_pPort, m_pUser, m_pPassword, m_pType, m_pShowPassword});
}

int CDlgProxy::ShowModal() {
    LoadRecord();
    return wxDialog::ShowModal();
}

void CDlgProxy::LoadRecord() {
    if (m_bLoaded)
        return;
    m_bLoaded = true;
    if (!m_pProxy && m_pDoc)
        m_pProxy = &m_pDoc->m_proxy;
    wxCHECK_RET(m_pProxy, "proxy dialog without a record");

    m_pHost->ChangeValue(ToWx(m_pProxy->m_strHost));
    m_pPort->ChangeValue(FormatNumber(m_pProxy->m_nPort));
    m_pUser->ChangeValue(ToWx(m_pProxy->m_strUser));
    m_pPassword->ChangeValue(ToWx(m_pProxy->m_strPassword));
    m_pShowPassword->SetValue(m_pProxy->m_bShowPassword);
    for (const corvane::ProxyTypeRow& row : corvane::ProxyTypeTable())
        m_pType->Append(row.name);
    // Selected by name: a code of our own that is not in the table leaves no selection.
    if (const corvane::ProxyTypeRow* row = corvane::ProxyTypeByStoredCode(m_pProxy->m_nType))
        m_pType->SetStringSelection(row->name);
    corvane::remote::ApplyShowPassword({m_pPassword, m_pShowPassword});
}

void CDlgProxy::OnOK(wxCommandEvent&) {
    if (!m_pProxy) {
        EndModal(wxID_CANCEL);
        return;
    }
    if (!StoreTyped(this, {{wxTRANSLATE("Proxy"), m_pHost->GetValue(), &m_pProxy->m_strHost},
                           {wxTRANSLATE("User"), m_pUser->GetValue(), &m_pProxy->m_strUser},
                           {wxTRANSLATE("Password"), m_pPassword->GetValue(), &m_pProxy->m_strPassword}}))
        return;
    m_pProxy->m_nPort = ReadLeadingNumber(m_pPort->GetValue());
    m_pProxy->m_bShowPassword = m_pShowPassword->GetValue();
    const wxString type = m_pType->GetStringSelection();
    for (const corvane::ProxyTypeRow& row : corvane::ProxyTypeTable())
        if (type == row.name)
            m_pProxy->m_nType = row.storedCode;
    EndModal(wxID_OK);
}
