#pragma once
// "FTP Connection": edits one FTP connection and tests it on the spot. "Connect"
// opens a real session with the values as typed (through the FTP component, or
// the built-in client for connections marked so), lists its top folder and turns
// into "Disconnect" while that session is open; the status line says how it went.
#include "model/CConnectionInfo.h"
#include "remote/CRemoteDialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CAnimatedProgressCtrl;
class CCorvaneDoc;
class wxButton;
class wxCheckBox;
class wxSizer;
class wxStaticText;
class wxTextCtrl;

class CDlgFTP : public CRemoteDialog {
public:
    enum {
        IDD = 130,
        IDC_HOST = 1000,
        IDC_PORT = 1001,
        IDC_USER = 1002,
        IDC_PASSWORD = 1003,
        IDC_USE_PROXY = 1004,
        IDC_SHOW_PASSWORD = 1005,
        IDC_CONNECT = 1006,
        IDC_PROGRESS = 1007,
        IDC_USE_WININET = 1008,
        IDC_PASSIVE = 1026,
        IDC_PROXY = 1075,
        IDC_DETAILS = 1090,
        IDC_PASSIVE_WARNING = 1091,
        IDC_STATUS = 1058,
    };

    // `pDoc` supplies the project's proxy and is marked modified when the proxy
    // editor ends with OK; it may be null (no proxy editor, default proxy).
    CDlgFTP(wxWindow* parent, CCorvaneDoc* pDoc);

    // Runs the project's proxy editor over `parent`; true when it ended with OK. The
    // creator hands it in, as the editor belongs to the settings editors.
    using ProxyEditor = std::function<bool(wxWindow* parent, CCorvaneDoc* pDoc)>;
    void SetProxyEditor(ProxyEditor editor) { m_proxyEditor = std::move(editor); }
    ~CDlgFTP() override;

    // The record being edited; set before ShowModal. Written only by OK.
    CConnectionInfo* m_pConnection = nullptr;
    // Editing an existing connection: its host, which identifies it, stays as it is.
    void SetHostLocked(bool locked) { m_bHostLocked = locked; }
    // Asked at OK with the host as typed: a refusal's text, or empty to accept. A refused
    // OK keeps the dialog open with everything typed.
    using HostCheck = std::function<wxString(const std::string& host)>;
    void SetHostCheck(HostCheck check) { m_hostCheck = std::move(check); }

    bool IsConnected() const { return m_bConnected; }
    bool IsTested() const { return m_bTested; }

private:
    void BuildControls();
    // Host, port (with the test's progress bar), user and password.
    wxSizer* BuildFields(wxWindow* box);
    // Passive mode and the proxy switch, in their tab order.
    wxSizer* BuildOptions(wxWindow* box);
    void OnInitDialog(wxInitDialogEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnUseProxy();
    void OnProxy();
    void OnUseWinInet();
    void OnConnect();
    // The connection fields as typed into `info`; false, with `info` untouched, after
    // refusing text the code page cannot hold.
    bool ReadTyped(CConnectionInfo& info);
    // Opens the test session with `typed` and lists its top folder, on the worker while
    // the dialog keeps painting and the popup offers to cancel; says how it went.
    void Connect(const CConnectionInfo& typed);
    void Disconnect();
    void SetStatus(const wxString& text);
    // What a test shows beyond its verdict: "Details" (the transcript) and the passive
    // address warning, hidden until a test has run.
    wxSizer* BuildTestDetails(wxWindow* parent);
    void ShowTestDetails(const CRemoteFolderSession::Result& result);
    void OnDetails();

    wxTextCtrl* m_editHost = nullptr;
    wxTextCtrl* m_editPort = nullptr;
    CAnimatedProgressCtrl* m_progress = nullptr;
    wxTextCtrl* m_editUser = nullptr;
    wxTextCtrl* m_editPassword = nullptr;
    wxCheckBox* m_checkUseProxy = nullptr;
    wxCheckBox* m_checkShowPassword = nullptr;
    wxCheckBox* m_checkPassive = nullptr;
    wxButton* m_btnConnect = nullptr;
    wxButton* m_btnProxy = nullptr;
    wxCheckBox* m_checkUseWinInet = nullptr;
    wxButton* m_btnDetails = nullptr;
    wxStaticText* m_labelWarning = nullptr;
    std::vector<std::string> m_arrTranscript;
    wxStaticText* m_status = nullptr;

    bool m_bTested = false;
    ProxyEditor m_proxyEditor;
    HostCheck m_hostCheck;
    bool m_bConnected = false;
    bool m_bHostLocked = false;
};
