#pragma once
// Editor of one folder profile's exclusion masks. Works on a copy of the list: rows
// point at positions in that copy, deletions are remembered as positions, and only
// OK rebuilds the profile's list (survivors in order, then the added masks).
#include "controls/CBitmapImageList.h"
#include "controls/CDialogBase.h"
#include "model/CFileMask.h"

#include <cstdint>
#include <vector>

class wxCheckBox;
class wxListCtrl;
class wxListEvent;
class wxTextCtrl;

class CDlgMasks : public CDialogBase {
public:
    enum : int {
        kIdList = 1069,
        kIdUpload = 1012,
        kIdDownload = 1013,
        kIdMask = 1072,
        kIdAdd = 1022,
        kIdDelete = 1042
    };

    // Follows the mask in the list when neither direction is ticked.
    // In English; the list shows its translation.
    static constexpr const char* kExcludesNothing = wxTRANSLATE(" (excludes nothing)");

    CDlgMasks(wxWindow* parent, std::vector<CFileMask>* pMasks);

    // The row last selected, -1 when there is none.
    long GetSelectionMark() const { return m_nMark; }

private:
    void BuildControls();
    void InsertMaskRow(const CFileMask& mask, std::size_t position);
    void ShowRow(long row, const CFileMask& mask);
    void ShowMask(long row);
    void ApplyChecks();
    void OnItemSelected(wxListEvent& event);
    void OnAdd(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    std::vector<CFileMask>* m_pMasks;
    std::vector<CFileMask> m_arrWork;
    std::vector<std::uint32_t> m_arrRemoved;
    CBitmapImageList m_images;
    long m_nMark = -1;

    wxListCtrl* m_pList = nullptr;
    wxCheckBox* m_pUpload = nullptr;
    wxCheckBox* m_pDownload = nullptr;
    wxTextCtrl* m_pMask = nullptr;
};
