#pragma once
// Editor of one folder profile. Its own fields reach the record only on OK, which
// also marks the project modified; the connection edited through "Edit" and the
// masks confirmed in their own dialog take effect at once.
#include "controls/CBitmapImageList.h"
#include "controls/CDialogBase.h"

#include <cstdint>
#include <string>

class CConnectionInfo;
class CCorvaneDoc;
class CFolderProfile;
class wxButton;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSizer;
class wxStaticText;
class wxTextCtrl;

class CDlgMain : public CDialogBase {
public:
    enum : int {
        kIdEnabled = 1028,
        kIdNotice = 1029,
        kIdConnection = 1010,
        kIdEditConnection = 1011,
        kIdLocalFolder = 1008,
        kIdBrowseLocal = 1015,
        kIdFtpFolder = 1009,
        kIdBrowseFtp = 1016,
        kIdUpload = 1012,
        kIdDownload = 1013,
        kIdSubfolders = 1018,
        kIdDeleteObsolete = 1021,
        kIdUseMasks = 1014,
        kIdEditMasks = 1017,
        kIdIgnore = 1027,
        kIdConflictDownload = 1020,
        kIdConflictUpload = 1019,
    };
    // In English; the dialog shows their translations.
    static constexpr const char* kNoConnectionNotice =
        wxTRANSLATE("A profile needs an FTP connection, and there is none "
                    "yet. Please create an FTP connection first.");
    static constexpr const char* kNoConnectionError = wxTRANSLATE(
        "A profile cannot be created without an FTP connection. Please create an FTP connection first.");

    CDlgMain(wxWindow* parent, CCorvaneDoc* pDoc, CFolderProfile* pProfile);

    // Empties the connection list, adds one entry per connection of the document and
    // selects entry `position` when there is one.
    void FillConnections(int position);
    // Selects the entry naming the profile's connection, letter case ignored; else the first.
    void SelectConnection(const CFolderProfile& profile);
    void SetConflictRadio(std::int32_t value);

    std::int32_t GetConflict() const { return m_nConflict; }

private:
    void BuildControls();
    wxSizer* BuildHead();
    wxSizer* BuildFields();
    wxSizer* BuildOptions();
    wxSizer* BuildConflictRow();
    void MarkChanged() override;
    // The record behind the chosen connection; null when none is chosen.
    CConnectionInfo* SelectedConnection() const;
    void OnEditConnection(wxCommandEvent& event);
    void OnBrowseLocal(wxCommandEvent& event);
    void OnBrowseFtp(wxCommandEvent& event);
    void OnUseMasks(wxCommandEvent& event);
    void OnEditMasks(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    CCorvaneDoc* m_pDoc;
    CFolderProfile* m_pProfile;
    std::string m_strLocalFolder;
    std::string m_strFtpFolder;
    std::int32_t m_nConflict = 2;
    CBitmapImageList m_images;

    wxCheckBox* m_pEnabled = nullptr;
    wxStaticText* m_pNotice = nullptr;
    wxChoice* m_pConnection = nullptr;
    wxButton* m_pEditConnection = nullptr;
    wxTextCtrl* m_pLocalFolder = nullptr;
    wxButton* m_pBrowseLocal = nullptr;
    wxTextCtrl* m_pFtpFolder = nullptr;
    wxButton* m_pBrowseFtp = nullptr;
    wxCheckBox* m_pUpload = nullptr;
    wxCheckBox* m_pDownload = nullptr;
    wxCheckBox* m_pSubfolders = nullptr;
    wxCheckBox* m_pDeleteObsolete = nullptr;
    wxCheckBox* m_pUseMasks = nullptr;
    wxButton* m_pEditMasks = nullptr;
    wxRadioButton* m_pIgnore = nullptr;
    wxRadioButton* m_pConflictDownload = nullptr;
    wxRadioButton* m_pConflictUpload = nullptr;
};
