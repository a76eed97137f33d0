#include "dialogs/CDlgMasks.h"

#include "controls/WxText.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

namespace {
wxString YesNo(bool b) {
    return b ? _("Yes") : _("No");
}
} // namespace

CDlgMasks::CDlgMasks(wxWindow* parent, std::vector<CFileMask>* pMasks)
    : CDialogBase(parent, _("Exclusion masks")), m_pMasks(pMasks) {
    BuildControls();
    if (m_images.CreateFromBitmap(IDB_IMAGES16, 16, 16, CBitmapImageList::kMaskColour))
        m_pList->SetImageList(&m_images, wxIMAGE_LIST_SMALL);
    // Three equal columns sharing 95 % of the list's width; a Yes/No column widens to its
    // heading where a language makes that longer, at the mask column's expense.
    const int total = static_cast<int>(m_pList->GetClientSize().x * 0.95);
    const auto width = [this, total](const wxString& heading) {
        return std::max(total / 3, m_pList->GetTextExtent(heading).x + FromDIP(16));
    };
    const int download = width(_("Download")), upload = width(_("Upload"));
    m_pList->InsertColumn(0, _("File Mask"), wxLIST_FORMAT_LEFT, total - download - upload);
    m_pList->InsertColumn(1, _("Download"), wxLIST_FORMAT_LEFT, download);
    m_pList->InsertColumn(2, _("Upload"), wxLIST_FORMAT_LEFT, upload);

    m_arrWork = *m_pMasks;
    for (std::size_t i = 0; i < m_arrWork.size(); ++i)
        InsertMaskRow(m_arrWork[i], i);

    m_pList->Bind(wxEVT_LIST_ITEM_SELECTED, &CDlgMasks::OnItemSelected, this);
    Bind(
        wxEVT_CHECKBOX, [this](wxCommandEvent&) { ApplyChecks(); }, kIdUpload);
    Bind(
        wxEVT_CHECKBOX, [this](wxCommandEvent&) { ApplyChecks(); }, kIdDownload);
    Bind(wxEVT_BUTTON, &CDlgMasks::OnAdd, this, kIdAdd);
    Bind(wxEVT_BUTTON, &CDlgMasks::OnDelete, this, kIdDelete);
    Bind(wxEVT_BUTTON, &CDlgMasks::OnOK, this, wxID_OK);
    PressOnKey(m_pMask, WXK_RETURN, kIdAdd);
    // Typing a mask is what the dialog is opened for.
    SetInitialFocus(m_pMask);
    PressOnKey(m_pList, WXK_DELETE, kIdDelete);
}

void CDlgMasks::BuildControls() {
    const int gap = FromDIP(7);
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* group = new wxStaticBoxSizer(wxHORIZONTAL, this, _("Exclude files that match these masks"));
    wxWindow* box = group->GetStaticBox();

    m_pList = new wxListCtrl(box, kIdList, wxDefaultPosition, ConvertDialogToPixels(wxSize(148, 140)),
                             wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES);
    group->Add(m_pList, 1, wxEXPAND | wxALL, gap);

    auto* side = new wxBoxSizer(wxVERTICAL);
    m_pUpload = new wxCheckBox(box, kIdUpload, _("Upload"));
    m_pDownload = new wxCheckBox(box, kIdDownload, _("Download"));
    m_pMask = new wxTextCtrl(box, kIdMask, wxString(), wxDefaultPosition,
                             wxSize(ConvertDialogToPixels(wxSize(50, -1)).x, -1));
    auto* add = new wxButton(box, kIdAdd, _("Add"));
    auto* del = new wxButton(box, kIdDelete, _("Delete"));
    side->Add(m_pUpload, 0, wxTOP, FromDIP(4));
    side->Add(m_pDownload, 0, wxTOP, gap);
    side->AddStretchSpacer();
    side->Add(m_pMask, 0, wxEXPAND | wxTOP, gap);
    side->Add(add, 0, wxEXPAND | wxTOP, FromDIP(5));
    side->Add(del, 0, wxEXPAND | wxTOP, FromDIP(5));
    group->Add(side, 0, wxEXPAND | wxTOP | wxBOTTOM | wxRIGHT, gap);

    top->Add(group, 1, wxEXPAND | wxALL, gap);
    top->Add(CreateButtonRow(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizerAndFit(top);
}

void CDlgMasks::InsertMaskRow(const CFileMask& mask, std::size_t position) {
    const long row = m_pList->InsertItem(m_pList->GetItemCount(), ToWx(mask.m_strMask), IMG_PADLOCK);
    m_pList->SetItemData(row, static_cast<long>(position));
    ShowRow(row, mask);
}

void CDlgMasks::ShowRow(long row, const CFileMask& mask) {
    // A mask for neither direction is kept, as the file keeps it, but says that it
    // excludes nothing.
    const bool excludes = mask.m_bDownload || mask.m_bUpload;
    m_pList->SetItem(
        row, 0, excludes ? ToWx(mask.m_strMask) : ToWx(mask.m_strMask) + wxGetTranslation(kExcludesNothing));
    m_pList->SetItem(row, 1, YesNo(mask.m_bDownload));
    m_pList->SetItem(row, 2, YesNo(mask.m_bUpload));
    m_pList->SetItemTextColour(
        row, wxSystemSettings::GetColour(excludes ? wxSYS_COLOUR_LISTBOXTEXT : wxSYS_COLOUR_GRAYTEXT));
}

void CDlgMasks::ShowMask(long row) {
    const CFileMask& mask = m_arrWork[static_cast<std::size_t>(m_pList->GetItemData(row))];
    m_pDownload->SetValue(mask.m_bDownload);
    m_pUpload->SetValue(mask.m_bUpload);
    m_pMask->ChangeValue(ToWx(mask.m_strMask));
}

void CDlgMasks::ApplyChecks() {
    if (m_nMark < 0 || m_nMark >= m_pList->GetItemCount())
        return;
    CFileMask& mask = m_arrWork[static_cast<std::size_t>(m_pList->GetItemData(m_nMark))];
    mask.m_bDownload = m_pDownload->GetValue();
    mask.m_bUpload = m_pUpload->GetValue();
    ShowRow(m_nMark, mask);
    MarkChanged();
}

void CDlgMasks::OnItemSelected(wxListEvent& event) {
    m_nMark = event.GetIndex();
    ShowMask(m_nMark);
}

void CDlgMasks::OnAdd(wxCommandEvent&) {
    wxString text = m_pMask->GetValue();
    text.Trim(true).Trim(false);
    if (text.empty())
        return;
    CFileMask mask;
    if (!ToCodePage(this, _("File Mask"), text, mask.m_strMask))
        return;
    mask.m_bUpload = m_pUpload->GetValue();
    mask.m_bDownload = m_pDownload->GetValue();
    m_arrWork.push_back(mask);
    InsertMaskRow(mask, m_arrWork.size() - 1);
    MarkChanged();
}

void CDlgMasks::OnDelete(wxCommandEvent&) {
    if (m_nMark < 0 || m_nMark >= m_pList->GetItemCount())
        return;
    const auto position = static_cast<std::uint32_t>(m_pList->GetItemData(m_nMark));
    if (m_pList->DeleteItem(m_nMark)) {
        m_arrRemoved.push_back(position);
        MarkChanged();
    }
    // Nothing is selected any more.
    m_nMark = -1;
}

void CDlgMasks::OnOK(wxCommandEvent&) {
    ApplyChecks();
    m_pMasks->clear();
    for (std::size_t i = 0; i < m_arrWork.size(); ++i)
        if (std::find(m_arrRemoved.begin(), m_arrRemoved.end(), i) == m_arrRemoved.end())
            m_pMasks->push_back(m_arrWork[i]);
    EndModal(wxID_OK);
}
