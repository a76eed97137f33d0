#include "dialogs/CDlgConnections.h"

#include "controls/CIconListBox.h"
#include "controls/WxText.h"
#include "dialogs/CDlgProxy.h"
#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "remote/CDlgFTP.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

CDlgConnections::CDlgConnections(wxWindow* parent, CCorvaneDoc* pDoc)
    : CDialogBase(parent, _("FTP connections"), OkAtOpen::enabled), m_pDoc(pDoc) {
    BuildControls();
    // No Cancel button: Esc and the close box cancel, and never press OK instead.
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& ev) {
        if (ev.GetKeyCode() == WXK_ESCAPE)
            EndModal(wxID_CANCEL);
        else
            ev.Skip();
    });

    if (m_images.CreateFromBitmap(IDB_IMAGES16, 16, 16, CBitmapImageList::kMaskColour))
        m_pList->SetImageList(&m_images);
    for (const CConnectionInfo& c : m_pDoc->m_arrConnections) {
        m_arrWork.emplace_back();
        m_arrWork.back() = c;
    }
    RefillConnections(0);

    Bind(wxEVT_BUTTON, &CDlgConnections::OnAdd, this, kIdAdd);
    Bind(wxEVT_BUTTON, &CDlgConnections::OnEdit, this, kIdEdit);
    Bind(wxEVT_BUTTON, &CDlgConnections::OnRemove, this, kIdRemove);
    Bind(wxEVT_BUTTON, &CDlgConnections::OnOK, this, wxID_OK);
    PressOnKey(m_pList, WXK_DELETE, kIdRemove);
    m_pList->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { PressButton(kIdEdit); });
}

void CDlgConnections::BuildControls() {
    const int gap = FromDIP(7);
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* group = new wxStaticBoxSizer(wxHORIZONTAL, this, wxString());
    wxWindow* box = group->GetStaticBox();

    m_pList = new CIconListBox(box, kIdList, true, wxDefaultPosition, ConvertDialogToPixels(wxSize(175, 144)),
                               wxBORDER_SUNKEN);
    group->Add(m_pList, 1, wxEXPAND | wxALL, FromDIP(4));

    auto* side = new wxBoxSizer(wxVERTICAL);
    const wxSize button(ConvertDialogToPixels(wxSize(50, -1)).x, -1);
    side->Add(new wxButton(box, kIdAdd, _("Add"), wxDefaultPosition, button), 0, wxEXPAND);
    side->Add(new wxButton(box, kIdEdit, _("Edit"), wxDefaultPosition, button), 0, wxEXPAND | wxTOP,
              FromDIP(3));
    side->Add(new wxButton(box, kIdRemove, _("Remove"), wxDefaultPosition, button), 0, wxEXPAND | wxTOP,
              FromDIP(3));
    side->AddStretchSpacer();
    side->Add(CreateOkButton(box, button), 0, wxEXPAND);
    group->Add(side, 0, wxEXPAND | wxALL, FromDIP(4));
    top->Add(group, 1, wxEXPAND | wxALL, gap);
    SetSizerAndFit(top);
}

void CDlgConnections::RefillConnections(int position) {
    m_pList->ResetContent();
    for (std::size_t i = 0; i < m_arrWork.size(); ++i) {
        const int entry = m_pList->AddString(ToWx(m_arrWork[i].m_strHost), IMG_SERVER);
        m_pList->SetItemData(entry, static_cast<std::uint32_t>(i));
    }
    if (m_pList->GetCount() > position)
        m_pList->SetCurSel(position);
}

void CDlgConnections::OnAdd(wxCommandEvent&) {
    CConnectionInfo connection;
    CDlgFTP dlg(this, m_pDoc);
    dlg.SetProxyEditor(&CDlgProxy::Edit);
    dlg.m_pConnection = &connection;
    // Hosts removed in this session still count: the removal is not final before OK.
    // Letter case is folded on the code page's letters, never the locale's.
    dlg.SetHostCheck([this](const std::string& typed) {
        for (const CConnectionInfo& c : m_arrWork)
            if (corvane::EqualIgnoringCase(c.m_strHost, typed))
                return _("An FTP connection with this host name already exists.");
        return wxString();
    });
    if (dlg.ShowModal() != wxID_OK)
        return;
    const wxString host = ToWx(connection.m_strHost);
    const int entry = m_pList->AddString(host, IMG_SERVER);
    m_pList->SetItemData(entry, static_cast<std::uint32_t>(m_arrWork.size()));
    m_arrWork.push_back(connection);
    m_pList->SetCurSel(entry);
}

void CDlgConnections::OnEdit(wxCommandEvent&) {
    const int sel = m_pList->GetCurSel();
    if (sel < 0)
        return;
    const std::int64_t position = m_pList->GetItemData(sel);
    if (position < 0 || position >= static_cast<std::int64_t>(m_arrWork.size()))
        return;
    CDlgFTP dlg(this, m_pDoc);
    dlg.SetProxyEditor(&CDlgProxy::Edit);
    dlg.m_pConnection = &m_arrWork[static_cast<std::size_t>(position)];
    dlg.SetHostLocked(true);
    dlg.ShowModal();
}

void CDlgConnections::OnRemove(wxCommandEvent&) {
    const int sel = m_pList->GetCurSel();
    if (sel < 0)
        return;
    const wxString host = m_pList->GetText(sel);
    const std::string hostBytes = FromWx(host);
    // Profiles name their connection by the exact text.
    for (const CFolderProfile& p : m_pDoc->m_arrProfiles) {
        if (p.m_strConnection == hostBytes) {
            ShowInformation(
                this,
                // The English text holds a typographic apostrophe: looked up as UTF-8.
                wxString::Format(wxGetTranslation(wxString::FromUTF8(wxTRANSLATE(
                                     "Can\u2019t delete the connection '%s': it is assigned to an "
                                     "existing profile."))),
                                 host),
                kCaptionInformation);
            return;
        }
    }
    if (!AskYesNo(this,
                  wxString::Format(_("Are you sure you want to delete the FTP connection '%s'?"), host)))
        return;
    m_arrRemoved.push_back(static_cast<std::uint32_t>(m_pList->GetItemData(sel)));
    m_pList->DeleteString(sel);
    m_pList->SetCurSel(-1);
}

void CDlgConnections::OnOK(wxCommandEvent&) {
    m_pDoc->m_arrConnections.clear();
    for (std::size_t i = 0; i < m_arrWork.size(); ++i) {
        if (std::find(m_arrRemoved.begin(), m_arrRemoved.end(), i) != m_arrRemoved.end())
            continue;
        m_pDoc->m_arrConnections.emplace_back();
        m_pDoc->m_arrConnections.back() = m_arrWork[i];
    }
    m_pDoc->SetModifiedFlag();
    EndModal(wxID_OK);
}
