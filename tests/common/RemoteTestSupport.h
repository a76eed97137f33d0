#pragma once
// Helpers shared by the remote dialogs' tests: message boxes answered and recorded
// (with whether the "Connecting ..." popup was still up), event pumping while a
// dialog shows without a modal loop, and tree inspection.
#include "DlgTestSupport.h"
#include "model/CCorvaneDoc.h"
#include "remote/CConnectingPopup.h"
#include "remote/CDlgFTPFolder.h"
#include "standins/RecordingFtp.h"

#include <gtest/gtest.h>
#include <vector>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

namespace remotetest {

struct SeenBox {
    wxString message;
    wxString caption;
    long icon;
    int popupsVisible;
};

// Answers every message box with OK and keeps what it showed; other modal dialogs
// run as they are.
class CMessageRecorder : public wxModalDialogHook {
public:
    CMessageRecorder() { Register(); }
    ~CMessageRecorder() override { Unregister(); }

    std::vector<SeenBox> boxes;

protected:
    int Enter(wxDialog* dlg) override {
        if (auto* m = dynamic_cast<wxMessageDialog*>(dlg)) {
            boxes.push_back({m->GetMessage(), m->GetCaption(), m->GetMessageDialogStyle() & wxICON_MASK,
                             CConnectingPopup::VisibleCount()});
            return wxID_OK;
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

// The connection record a remote dialog works on, its project, and what the
// recording component is to answer.
class RemoteDialogTest : public ::testing::Test {
protected:
    RemoteDialogTest(const char* host, std::int32_t port, const char* user, const char* password) {
        m_conn.m_strHost = host;
        m_conn.m_nPort = port;
        m_conn.m_strUser = user;
        m_conn.m_strPassword = password;
    }
    std::shared_ptr<testftp::FakeFtpState> m_state = std::make_shared<testftp::FakeFtpState>();
    CCorvaneDoc m_doc;
    CConnectionInfo m_conn;
};

using testpump::Pump;
using testpump::PumpUntil;

using dlgtest::Click;
using dlgtest::Ctrl;
using dlgtest::SetCheck;
using dlgtest::Type;

// The folder the browser's OK hands back, from a loop of its own.
inline std::string Chosen(CDlgFTPFolder* dlg) {
    dlg->CallAfter([dlg] { Click(dlg, wxID_OK); });
    EXPECT_EQ(dlg->ShowModal(), wxID_OK);
    return dlg->m_strPath;
}

inline wxString LabelOf(wxWindow* dlg, int id) {
    return dlg->FindWindow(id)->GetLabel();
}

inline std::vector<wxString> ChildTexts(wxTreeCtrl* tree, const wxTreeItemId& item) {
    std::vector<wxString> out;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie))
        out.push_back(tree->GetItemText(c));
    return out;
}

inline wxTreeItemId ChildNamed(wxTreeCtrl* tree, const wxTreeItemId& item, const wxString& text) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie))
        if (tree->GetItemText(c) == text)
            return c;
    return {};
}

} // namespace remotetest
