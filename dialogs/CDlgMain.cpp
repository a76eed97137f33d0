#include "dialogs/CDlgMain.h"

#include "controls/AccessibleName.h"
#include "controls/CFolderDialog.h"
#include "controls/ResourceArt.h"
#include "controls/WxText.h"
#include "dialogs/CDlgMasks.h"
#include "dialogs/CDlgProxy.h"
#include "model/CCorvaneDoc.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
// In English; the dialog shows its translation.
constexpr const char* kConflictText =
    wxTRANSLATE("If a file is changed locally and on the server at the same time, the "
                "conflict can be resolved by ignoring it, uploading or downloading. "
                "Please choose how conflicts are resolved below.");
} // namespace

CDlgMain::CDlgMain(wxWindow* parent, CCorvaneDoc* pDoc, CFolderProfile* pProfile)
    : CDialogBase(parent, _("Folders")), m_pDoc(pDoc), m_pProfile(pProfile) {
    BuildControls();

    if (m_images.CreateFromBitmap(IDB_BROWSE_FOLDER, 16, 16, wxColour(0, 255, 0))) {
        for (wxButton* b : {m_pBrowseLocal, m_pBrowseFtp}) {
            b->SetBitmap(m_images.GetBitmap(0));
            b->SetLabel(wxString());
        }
        Layout();
    }
    if (!m_pDoc->m_arrConnections.empty()) {
        SelectConnection(*m_pProfile);
    } else {
        m_pNotice->SetLabel(wxGetTranslation(kNoConnectionNotice));
        m_pNotice->Wrap(ConvertDialogToPixels(wxSize(208, -1)).x);
        m_pConnection->Disable();
        m_pEditConnection->Disable();
    }
    m_strLocalFolder = m_pProfile->m_strLocalFolder;
    m_strFtpFolder = m_pProfile->m_strFtpFolder;
    m_pLocalFolder->ChangeValue(ToWx(m_strLocalFolder));
    m_pFtpFolder->ChangeValue(RemoteNameToWx(m_strFtpFolder));
    m_pUpload->SetValue(m_pProfile->m_bUpload);
    m_pDownload->SetValue(m_pProfile->m_bDownload);
    m_pEnabled->SetValue(m_pProfile->m_bEnabled);
    m_pUseMasks->SetValue(m_pProfile->m_bUseMasks);
    m_pSubfolders->SetValue(m_pProfile->m_bSubfolders);
    m_pDeleteObsolete->SetValue(m_pProfile->m_bDeleteObsolete);
    SetConflictRadio(m_pProfile->m_nConflict);
    m_pEditMasks->Enable(m_pUseMasks->GetValue());
    // The form's first field; without a connection to choose, the local folder after it.
    SetInitialFocus(m_pConnection);

    Bind(wxEVT_BUTTON, &CDlgMain::OnEditConnection, this, kIdEditConnection);
    Bind(wxEVT_BUTTON, &CDlgMain::OnBrowseLocal, this, kIdBrowseLocal);
    Bind(wxEVT_BUTTON, &CDlgMain::OnBrowseFtp, this, kIdBrowseFtp);
    Bind(wxEVT_BUTTON, &CDlgMain::OnEditMasks, this, kIdEditMasks);
    Bind(wxEVT_BUTTON, &CDlgMain::OnOK, this, wxID_OK);
    Bind(wxEVT_CHECKBOX, &CDlgMain::OnUseMasks, this, kIdUseMasks);
    EnableOkOnChange({m_pUpload, m_pDownload, m_pSubfolders, m_pDeleteObsolete, m_pEnabled, m_pUseMasks,
                      m_pLocalFolder, m_pFtpFolder, m_pConnection, m_pIgnore, m_pConflictDownload,
                      m_pConflictUpload});
    const std::pair<int, std::int32_t> radios[] = {
        {kIdIgnore, 2}, {kIdConflictDownload, 1}, {kIdConflictUpload, 0}};
    for (const auto& [id, value] : radios)
        Bind(
            wxEVT_RADIOBUTTON, [this, value = value](wxCommandEvent&) { m_nConflict = value; }, id);
}

void CDlgMain::BuildControls() {
    const int gap = FromDIP(7);
    const int indent = ConvertDialogToPixels(wxSize(14, -1)).x;
    auto* top = new wxBoxSizer(wxVERTICAL);
    // Controls are created in tab order; the sizers place them.
    top->Add(BuildHead(), 0, wxEXPAND | wxALL, gap);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, gap);
    top->Add(BuildFields(), 0, wxEXPAND | wxLEFT | wxRIGHT, indent);
    top->AddSpacer(gap);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, gap);
    top->Add(BuildOptions(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, indent);
    auto* explanation = new wxStaticText(this, wxID_ANY, wxGetTranslation(kConflictText));
    explanation->Wrap(ConvertDialogToPixels(wxSize(305, -1)).x);
    top->Add(explanation, 0, wxLEFT | wxRIGHT | wxTOP, indent);
    top->Add(BuildConflictRow(), 0, wxEXPAND | wxTOP, gap);
    top->AddSpacer(gap);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, gap);
    top->Add(CreateButtonRow(), 0, wxEXPAND | wxALL, gap);
    SetSizerAndFit(top);
}

wxSizer* CDlgMain::BuildHead() {
    const int gap = FromDIP(7);
    const int indent = ConvertDialogToPixels(wxSize(14, -1)).x;
    m_pEnabled = new wxCheckBox(this, kIdEnabled, _("Enabled"));
    m_pNotice = new wxStaticText(this, kIdNotice, wxString(), wxDefaultPosition,
                                 ConvertDialogToPixels(wxSize(208, 29)), wxST_NO_AUTORESIZE);
    auto* decoration = new wxStaticBitmap(this, wxID_ANY, GetResourceBitmap(IDB_DECORATION));
    auto* head = new wxBoxSizer(wxHORIZONTAL);
    head->Add(m_pEnabled, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, indent);
    head->Add(m_pNotice, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, gap);
    head->Add(decoration, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, gap);
    return head;
}

wxSizer* CDlgMain::BuildFields() {
    const int gap = FromDIP(7);
    const int fieldWidth = ConvertDialogToPixels(wxSize(209, -1)).x;
    auto* fields = new wxFlexGridSizer(3, gap, gap);
    fields->AddGrowableCol(1);
    auto label = [&](const char* text) {
        fields->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL);
    };
    label(_("Connection:"));
    m_pConnection =
        new wxChoice(this, kIdConnection, wxDefaultPosition, wxSize(fieldWidth, -1), 0, nullptr, wxCB_SORT);
    fields->Add(m_pConnection, 1, wxEXPAND);
    m_pEditConnection = new wxButton(this, kIdEditConnection, _("Edit"));
    m_pEditConnection->SetMinSize(wxSize(std::max(FromDIP(56), m_pEditConnection->GetBestSize().x), -1));
    fields->Add(m_pEditConnection, 0, wxEXPAND);
    label(_("Folder:"));
    m_pLocalFolder =
        new wxTextCtrl(this, kIdLocalFolder, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    fields->Add(m_pLocalFolder, 1, wxEXPAND | wxALIGN_CENTER_VERTICAL);
    m_pBrowseLocal =
        new wxButton(this, kIdBrowseLocal, "..", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    fields->Add(m_pBrowseLocal, 0, wxEXPAND);
    label(_("FTP folder:"));
    m_pFtpFolder =
        new wxTextCtrl(this, kIdFtpFolder, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    fields->Add(m_pFtpFolder, 1, wxEXPAND | wxALIGN_CENTER_VERTICAL);
    m_pBrowseFtp = new wxButton(this, kIdBrowseFtp, "..", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    corvane::SetAccessibleName(m_pBrowseLocal, _("Browse local folder"));
    corvane::SetAccessibleName(m_pBrowseFtp, _("Browse FTP folder"));
    fields->Add(m_pBrowseFtp, 0, wxEXPAND);
    return fields;
}

wxSizer* CDlgMain::BuildOptions() {
    const int gap = FromDIP(7);
    // Three columns of options; the tab order runs down each column.
    m_pUpload = new wxCheckBox(this, kIdUpload, _("Upload"));
    m_pDownload = new wxCheckBox(this, kIdDownload, _("Download"));
    m_pSubfolders = new wxCheckBox(this, kIdSubfolders, _("Include subfolders"));
    m_pDeleteObsolete = new wxCheckBox(this, kIdDeleteObsolete, _("Delete local obsolete files"));
    m_pUseMasks = new wxCheckBox(this, kIdUseMasks, _("Excluding masks"));
    m_pEditMasks = new wxButton(this, kIdEditMasks, _("Edit Masks"));
    auto* options = new wxFlexGridSizer(2, 3, gap, 3 * gap);
    options->AddGrowableCol(0);
    options->AddGrowableCol(1);
    for (wxWindow* w : {static_cast<wxWindow*>(m_pUpload), static_cast<wxWindow*>(m_pSubfolders),
                        static_cast<wxWindow*>(m_pUseMasks), static_cast<wxWindow*>(m_pDownload),
                        static_cast<wxWindow*>(m_pDeleteObsolete)})
        options->Add(w, 0, wxALIGN_CENTER_VERTICAL);
    options->Add(m_pEditMasks, 0, wxALIGN_CENTER_VERTICAL);
    return options;
}

wxSizer* CDlgMain::BuildConflictRow() {
    const int gap = FromDIP(7);
    const int indent = ConvertDialogToPixels(wxSize(14, -1)).x;
    auto* conflict = new wxStaticBoxSizer(wxHORIZONTAL, this, wxString());
    wxWindow* box = conflict->GetStaticBox();
    m_pIgnore = new wxRadioButton(box, kIdIgnore, _("Ignore"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pConflictDownload = new wxRadioButton(box, kIdConflictDownload, _("Download"));
    m_pConflictUpload = new wxRadioButton(box, kIdConflictUpload, _("Upload"));
    const int radioWidth = ConvertDialogToPixels(wxSize(70, -1)).x;
    for (wxRadioButton* r : {m_pIgnore, m_pConflictDownload, m_pConflictUpload}) {
        r->SetMinSize(wxSize(std::max(radioWidth, r->GetBestSize().x), -1));
        conflict->Add(r, 0, wxALIGN_CENTER_VERTICAL | wxTOP | wxBOTTOM, gap);
    }
    conflict->InsertSpacer(0, indent);
    auto* conflictRow = new wxBoxSizer(wxVERTICAL);
    conflictRow->Add(conflict, 0, wxEXPAND | wxLEFT | wxRIGHT, indent);
    return conflictRow;
}

void CDlgMain::FillConnections(int position) {
    m_pConnection->Clear();
    for (CConnectionInfo& c : m_pDoc->m_arrConnections) {
        const int entry = m_pConnection->Append(ToWx(c.m_strHost));
        m_pConnection->SetClientData(entry, &c);
    }
    if (static_cast<int>(m_pConnection->GetCount()) > position)
        m_pConnection->SetSelection(position);
}

void CDlgMain::SelectConnection(const CFolderProfile& profile) {
    FillConnections(0);
    // The whole text must match; a host that merely begins with it is another connection.
    const wxString wanted = ToWx(profile.m_strConnection);
    for (unsigned i = 0; i < m_pConnection->GetCount(); ++i) {
        if (m_pConnection->GetString(i).CmpNoCase(wanted) == 0) {
            m_pConnection->SetSelection(static_cast<int>(i));
            return;
        }
    }
}

void CDlgMain::SetConflictRadio(std::int32_t value) {
    // A value outside the three known ones (a damaged file) is kept as it is and
    // shown with "Ignore" checked, the one that changes nothing.
    m_nConflict = value;
    switch (value) {
    case 0:
        m_pConflictUpload->SetValue(true);
        break;
    case 1:
        m_pConflictDownload->SetValue(true);
        break;
    default:
        m_pIgnore->SetValue(true);
        break;
    }
}

void CDlgMain::MarkChanged() {
    // Without a connection the profile cannot be confirmed, whatever changes.
    if (m_pConnection->IsEnabled())
        CDialogBase::MarkChanged();
}

CConnectionInfo* CDlgMain::SelectedConnection() const {
    const int sel = m_pConnection->GetSelection();
    if (sel < 0)
        return nullptr;
    return static_cast<CConnectionInfo*>(m_pConnection->GetClientData(static_cast<unsigned>(sel)));
}

void CDlgMain::OnEditConnection(wxCommandEvent&) {
    CConnectionInfo* connection = SelectedConnection();
    if (!connection)
        return;
    const int sel = m_pConnection->GetSelection();
    CDlgFTP dlg(this, m_pDoc);
    dlg.SetProxyEditor(&CDlgProxy::Edit);
    dlg.m_pConnection = connection;
    dlg.SetHostLocked(true);
    if (dlg.ShowModal() != wxID_OK)
        return;
    if (ToWx(connection->m_strHost) != m_pConnection->GetString(static_cast<unsigned>(sel)))
        FillConnections(sel);
    m_pDoc->SetModifiedFlag();
    MarkChanged();
}

void CDlgMain::OnBrowseLocal(wxCommandEvent&) {
    CFolderDialog picker(_("Select folder"), ToWx(m_strLocalFolder), this, CFolderDialog::kReturnOnlyFsDirs);
    if (picker.DoModal() != wxID_OK)
        return;
    // A folder whose name the project cannot hold is refused, not stored mangled.
    std::string folder;
    if (!ToCodePage(this, _("Folder"), picker.GetFolderPath(), folder))
        return;
    m_strLocalFolder = std::move(folder);
    m_pLocalFolder->SetValue(ToWx(m_strLocalFolder));
    MarkChanged();
}

void CDlgMain::OnBrowseFtp(wxCommandEvent&) {
    CConnectionInfo* connection = SelectedConnection();
    if (!connection)
        return;
    CDlgFTPFolder dlg(this, m_pDoc);
    dlg.m_pConnection = connection;
    dlg.m_strPath = m_strFtpFolder;
    const int answer = dlg.ShowModal();
    ReturnFocusTo(m_pBrowseFtp);
    if (answer != wxID_OK)
        return;
    m_strFtpFolder = dlg.m_strPath;
    m_pFtpFolder->SetValue(RemoteNameToWx(m_strFtpFolder));
    MarkChanged();
}

void CDlgMain::OnUseMasks(wxCommandEvent&) {
    m_pEditMasks->Enable(m_pUseMasks->GetValue());
}

void CDlgMain::OnEditMasks(wxCommandEvent&) {
    // The masks dialog rewrites the record's list itself, whatever this dialog does later.
    CDlgMasks dlg(this, &m_pProfile->m_arrMasks);
    if (dlg.ShowModal() != wxID_OK)
        return;
    m_pDoc->SetModifiedFlag();
    MarkChanged();
}

void CDlgMain::OnOK(wxCommandEvent&) {
    if (!m_pConnection->IsEnabled()) {
        ShowInformation(this, wxGetTranslation(kNoConnectionError), kCaptionError);
        return;
    }
    CFolderProfile& p = *m_pProfile;
    p.m_bUpload = m_pUpload->GetValue();
    p.m_bDownload = m_pDownload->GetValue();
    p.m_bEnabled = m_pEnabled->GetValue();
    p.m_bUseMasks = m_pUseMasks->GetValue();
    p.m_bSubfolders = m_pSubfolders->GetValue();
    p.m_bDeleteObsolete = m_pDeleteObsolete->GetValue();
    p.m_nConflict = m_nConflict;
    const int sel = m_pConnection->GetSelection();
    p.m_nConnection = sel;
    if (sel >= 0)
        p.m_strConnection = FromWx(m_pConnection->GetString(static_cast<unsigned>(sel)));
    p.m_strLocalFolder = m_strLocalFolder;
    p.m_strFtpFolder = m_strFtpFolder;
    m_pDoc->SetModifiedFlag();
    EndModal(wxID_OK);
}
