#pragma once
// Maintains the project's FTP connections on a working copy. Entries of the sorted
// list point at positions in that copy; removals are remembered as positions, and
// only OK rebuilds the document's list (survivors in order, then the added ones)
// and marks the project modified. A connection is identified by its host, letter
// case ignored when adding; one named by a profile cannot be removed.
#include "controls/CBitmapImageList.h"
#include "controls/CDialogBase.h"
#include "model/CConnectionInfo.h"

#include <cstdint>
#include <vector>

class CCorvaneDoc;
class CIconListBox;

class CDlgConnections : public CDialogBase {
public:
    enum : int { kIdList = 1021, kIdAdd = 1022, kIdEdit = 1011, kIdRemove = 1024 };

    CDlgConnections(wxWindow* parent, CCorvaneDoc* pDoc);

    // Refills the list from the working copy and selects entry `position` if it exists.
    void RefillConnections(int position);

private:
    void BuildControls();
    void OnAdd(wxCommandEvent& event);
    void OnEdit(wxCommandEvent& event);
    void OnRemove(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    CCorvaneDoc* m_pDoc;
    std::vector<CConnectionInfo> m_arrWork;
    std::vector<std::uint32_t> m_arrRemoved;
    CBitmapImageList m_images;
    CIconListBox* m_pList = nullptr;
};
