#pragma once
// Editor of the report settings: a channel list (mail, log) on the left and one set
// of check boxes on the right showing the chosen channel. Both channels are edited
// in a working copy that reaches the document only on OK; the caller marks the
// project modified.
#include "controls/CBitmapImageList.h"
#include "controls/CDialogBase.h"
#include "model/CReportSettings.h"

class CCorvaneDoc;
class CIconListBox;
class wxCheckBox;
class wxStaticBox;

class CDlgReports : public CDialogBase {
public:
    enum : int {
        kIdChannels = 1038,
        kIdGroup = 1037,
        kIdEnabled = 1036,
        kIdSendEmpty = 1035,
        kIdErrors = 1031,
        kIdNewFiles = 1032,
        kIdActions = 1033,
        kIdConflicts = 1034,
    };
    enum Channel { channelMail = 0, channelLog = 1 };

    CDlgReports(wxWindow* parent, CCorvaneDoc* pDoc);

    Channel GetShownChannel() const { return m_shown; }

private:
    void BuildControls();
    void LoadChannel(Channel channel);
    void StoreChannel(Channel channel);
    void OnChannel(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    CCorvaneDoc* m_pDoc;
    CReportSettings m_work;
    Channel m_shown = channelMail;
    CBitmapImageList m_images;

    CIconListBox* m_pChannels = nullptr;
    wxStaticBox* m_pGroup = nullptr;
    wxCheckBox* m_pEnabled = nullptr;
    wxCheckBox* m_pSendEmpty = nullptr;
    wxCheckBox* m_pErrors = nullptr;
    wxCheckBox* m_pNewFiles = nullptr;
    wxCheckBox* m_pActions = nullptr;
    wxCheckBox* m_pConflicts = nullptr;
};
