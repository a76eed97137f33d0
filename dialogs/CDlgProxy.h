#pragma once
// Editor of the project's proxy record. Works on the record in place: OK writes every
// field, Cancel leaves it alone. The caller marks the project modified after OK.
#include "controls/CDialogBase.h"
#include <cstdint>

class CCorvaneDoc;
class CProxySettings;
class wxCheckBox;
class wxChoice;
class wxTextCtrl;

class CDlgProxy : public CDialogBase {
public:
    // Control identifiers, kept from the dialog's original template.
    enum : int {
        kIdHost = 1063,
        kIdPort = 1001,
        kIdType = 1062,
        kIdUser = 1002,
        kIdPassword = 1003,
        kIdShowPassword = 1067,
    };

    // The type list shows corvane::ProxyTypeTable() (platform/ProxyTypes.h) in its order.

    CDlgProxy(wxWindow* parent, CCorvaneDoc* pDoc);

    // Runs the editor on the document's proxy; true when it ended with OK.
    static bool Edit(wxWindow* parent, CCorvaneDoc* pDoc);

    int ShowModal() override;

    // The password field, masked or plain.
    wxTextCtrl* GetPasswordCtrl() const { return m_pPassword; }

private:
    void BuildControls();
    void LoadRecord();
    void OnOK(wxCommandEvent& event);

    CCorvaneDoc* m_pDoc;
    CProxySettings* m_pProxy = nullptr;
    bool m_bLoaded = false;

    wxTextCtrl* m_pHost = nullptr;
    wxTextCtrl* m_pPort = nullptr;
    wxChoice* m_pType = nullptr;
    wxTextCtrl* m_pUser = nullptr;
    wxTextCtrl* m_pPassword = nullptr;
    wxCheckBox* m_pShowPassword = nullptr;
};
