#pragma once
// Editor of the project's mail account and recipients, with a test message sent
// through the mail component from the values as typed; Escape or Cancel during the
// send cancels it, and a line under it says how it went. OK writes every field into
// the document's record; the caller marks the project modified.
#include "controls/CBitmapImageList.h"
#include "controls/CDialogBase.h"

#include <vector>
#include <wx/timer.h>

class CCorvaneDoc;
class CMailAccount;
class CIconListBox;
class wxGauge;
class wxSizer;
class wxStaticText;
class wxTextCtrl;

class CDlgMail : public CDialogBase {
public:
    enum : int {
        kIdServer = 1040,
        kIdUser = 1002,
        kIdPassword = 1003,
        kIdFrom = 1047,
        kIdPort = 1001,
        kIdSubject = 1051,
        kIdRecipients = 1041,
        kIdRecipient = 1045,
        kIdDelete = 1042,
        kIdEdit = 1011,
        kIdAdd = 1022,
        kIdProgress = 1007,
        kIdSend = 1076,
        kIdResult = 1077,
        kIdResultTimer = 1,
    };
    // How long a successful test keeps the bar full.
    static constexpr int kResultMs = 1500;
    // What the recipient field offers before the operator types an address.
    static constexpr const char* kRecipientExample = "someone@example.com";

    CDlgMail(wxWindow* parent, CCorvaneDoc* pDoc);
    ~CDlgMail() override;

    bool IsShowingResult() const { return m_timer.IsRunning(); }

private:
    void BuildControls();
    wxSizer* BuildAccountGroup();
    wxSizer* BuildRecipientsGroup();
    wxSizer* BuildTestRow();
    wxStaticText* AddLabel(wxWindow* parent, const wxString& text);
    void OnInitDialog(wxInitDialogEvent& event);
    void SetResult(const wxString& text);
    void OnAdd(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnEdit(wxCommandEvent& event);
    void OnSend(wxCommandEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnOK(wxCommandEvent& event);
    // Every field as it stands, untrimmed; false, with the record untouched, when a
    // typed text is refused.
    bool StoreInto(CMailAccount& mail);

    CCorvaneDoc* m_pDoc;
    CBitmapImageList m_images;
    wxTimer m_timer;

    wxTextCtrl* m_pServer = nullptr;
    wxTextCtrl* m_pUser = nullptr;
    wxTextCtrl* m_pPassword = nullptr;
    wxTextCtrl* m_pFrom = nullptr;
    wxTextCtrl* m_pPort = nullptr;
    wxTextCtrl* m_pSubject = nullptr;
    CIconListBox* m_pRecipients = nullptr;
    wxTextCtrl* m_pRecipient = nullptr;
    wxGauge* m_pProgress = nullptr;
    wxStaticText* m_pResult = nullptr;

    // Built once: the labels and right-hand column line up across the groups.
    struct LayoutParts {
        int gap = 0;
        int row = 0;
        std::vector<wxStaticText*> labels;
        std::vector<wxWindow*> rightColumn;
    } m_layout;
};
