// The connection dialog against a recording component: what was typed reaches the
// session, and what the operator sees around a test (popup, error box, buttons).
#include "../common/RemoteTestSupport.h"

#include "controls/CAnimatedProgressCtrl.h"
#include "remote/CDlgFTP.h"

#include <gmock/gmock.h>
#include <wx/frame.h>

using namespace remotetest;
using namespace testftp;
using Calls = std::vector<std::string>;

namespace {

class DlgFTPTest : public RemoteDialogTest {
protected:
    // The password in Windows-1252, as the model keeps text.
    DlgFTPTest() : RemoteDialogTest("ftp.example.org", 40000, "alice", "s\xe9same") {}

    std::unique_ptr<CDlgFTP> Open(bool hostLocked = false) {
        auto dlg = std::make_unique<CDlgFTP>(nullptr, &m_doc);
        dlg->m_pConnection = &m_conn;
        dlg->SetHostLocked(hostLocked);
        dlg->Show();
        return dlg;
    }

    // Runs a dialog on the record modally, `body` driving it inside its loop.
    int RunOnRecord(const std::function<void(CDlgFTP&)>& body) {
        CDlgFTP dlg(nullptr, &m_doc);
        dlg.m_pConnection = &m_conn;
        return dlgtest::RunModal(dlg, [&] { body(dlg); });
    }
};

TEST_F(DlgFTPTest, OpensWithTheRecordAndNothingToConfirm) {
    m_conn.m_bUseProxy = true;
    m_conn.m_bPassive = true;
    auto dlg = Open();
    EXPECT_EQ(Ctrl<wxTextCtrl>(dlg.get(), CDlgFTP::IDC_HOST)->GetValue(), "ftp.example.org");
    EXPECT_EQ(Ctrl<wxTextCtrl>(dlg.get(), CDlgFTP::IDC_PORT)->GetValue(), "40000");
    EXPECT_EQ(Ctrl<wxTextCtrl>(dlg.get(), CDlgFTP::IDC_PASSWORD)->GetValue(),
              wxString::FromUTF8("s\xc3\xa9same"));
    EXPECT_TRUE(Ctrl<wxCheckBox>(dlg.get(), CDlgFTP::IDC_PASSIVE)->IsChecked());
    EXPECT_TRUE(dlg->FindWindow(CDlgFTP::IDC_PROXY)->IsEnabled());
    EXPECT_TRUE(dlg->FindWindow(CDlgFTP::IDC_HOST)->IsEnabled());
    EXPECT_FALSE(dlg->FindWindow(CDlgFTP::IDC_USE_WININET)->IsShown());
    EXPECT_FALSE(dlg->FindWindow(wxID_OK)->IsEnabled());

    // Editing an existing connection: the host that identifies it cannot change.
    m_conn.m_bUseProxy = false;
    auto locked = Open(true);
    EXPECT_FALSE(locked->FindWindow(CDlgFTP::IDC_HOST)->IsEnabled());
    EXPECT_FALSE(locked->FindWindow(CDlgFTP::IDC_PROXY)->IsEnabled());

    // The built-in client uses the system's proxy: no proxy controls at all.
    m_conn.m_bUseWinInet = true;
    auto builtIn = Open();
    EXPECT_FALSE(builtIn->FindWindow(CDlgFTP::IDC_USE_PROXY)->IsShown());
    EXPECT_FALSE(builtIn->FindWindow(CDlgFTP::IDC_PROXY)->IsShown());
    EXPECT_FALSE(builtIn->FindWindow(wxID_OK)->IsEnabled());
}

TEST_F(DlgFTPTest, EditsEnableOkAndOkWritesWhatIsTyped) {
    ASSERT_EQ(RunOnRecord([&](CDlgFTP& modal) {
                  Type(&modal, CDlgFTP::IDC_PORT, "2121");
                  EXPECT_TRUE(modal.FindWindow(wxID_OK)->IsEnabled());
                  SetCheck(&modal, CDlgFTP::IDC_USE_PROXY, true);
                  EXPECT_TRUE(modal.FindWindow(CDlgFTP::IDC_PROXY)->IsEnabled());
                  Type(&modal, CDlgFTP::IDC_HOST, "");
                  Type(&modal, CDlgFTP::IDC_USER, " bob ");
                  SetCheck(&modal, CDlgFTP::IDC_PASSIVE, true);
                  Click(&modal, wxID_OK);
              }),
              wxID_OK);
    EXPECT_EQ(m_conn.m_strHost, "");
    EXPECT_EQ(m_conn.m_nPort, 2121);
    EXPECT_EQ(m_conn.m_strUser, " bob ");
    EXPECT_TRUE(m_conn.m_bPassive);
    EXPECT_FALSE(m_conn.m_bTestPassed);
}

TEST_F(DlgFTPTest, TypedValuesReachTheSessionAndConnectTurnsIntoDisconnect) {
    CRecordingFtpRegistration reg(m_state);
    int popupsDuringConnect = -1;
    m_state->onConnect = [&] { popupsDuringConnect = CConnectingPopup::VisibleCount(); };
    CMessageRecorder boxes;
    m_doc.m_proxy.m_strHost = "socks.example.org";
    auto dlg = Open();
    Type(dlg.get(), CDlgFTP::IDC_HOST, "typed.example.org");
    Type(dlg.get(), CDlgFTP::IDC_PORT, "2121");
    Type(dlg.get(), CDlgFTP::IDC_USER, "bob");
    Type(dlg.get(), CDlgFTP::IDC_PASSWORD, "pw");
    SetCheck(dlg.get(), CDlgFTP::IDC_PASSIVE, true);
    SetCheck(dlg.get(), CDlgFTP::IDC_USE_PROXY, true);

    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    const Calls calls = m_state->Calls();
    for (const char* typed : {"put 2 bstr 'typed.example.org'", "put 3 i2 2121", "put 4 bstr 'bob'",
                              "put 5 bstr 'pw'", "put 11 i4 1", "put 32 bstr 'socks.example.org'"})
        EXPECT_THAT(calls, ::testing::Contains(typed));
    EXPECT_EQ(popupsDuringConnect, 1);
    EXPECT_EQ(CConnectingPopup::VisibleCount(), 0);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Disconnect");
    auto* progress = Ctrl<CAnimatedProgressCtrl>(dlg.get(), CDlgFTP::IDC_PROGRESS);
    EXPECT_EQ(progress->GetPos(), 100);
    EXPECT_TRUE(progress->IsAnimating());
    EXPECT_TRUE(dlg->IsEnabled()) << "input comes back after the test";
    EXPECT_TRUE(dlg->IsTested());

    m_state->ClearCalls();
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    EXPECT_EQ(m_state->Calls(), Calls{"call 7"});
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Connect");
    EXPECT_EQ(progress->GetPos(), 0);
    EXPECT_FALSE(progress->IsAnimating());
}

TEST_F(DlgFTPTest, FailedConnectOrDisconnectShowsTheErrorOnceThePopupIsGone) {
    CRecordingFtpRegistration reg(m_state);
    // The server's words in its bytes (UTF-8 here), read as it wrote them.
    m_state->failures[6] = "530 Acc\xc3\xa8s refus\xc3\xa9.";
    CMessageRecorder boxes;
    m_conn.m_bTestPassed = true;
    auto dlg = Open();
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].message, wxString::FromUTF8("530 Acc\xc3\xa8s refus\xc3\xa9."));
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(boxes.boxes[0].icon, wxICON_ERROR);
    EXPECT_EQ(boxes.boxes[0].popupsVisible, 0);
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Connect");
    EXPECT_FALSE(dlg->IsConnected());
    EXPECT_FALSE(dlg->IsTested());
    EXPECT_FALSE(dlg->FindWindow(wxID_OK)->IsEnabled()) << "a failed attempt leaves OK as it was";
    EXPECT_FALSE(Ctrl<CAnimatedProgressCtrl>(dlg.get(), CDlgFTP::IDC_PROGRESS)->IsAnimating());

    // A failing disconnect keeps the session for another try.
    m_state->failures.clear();
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    m_state->failures[7] = "421 Timeout.";
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].message, "421 Timeout.");
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Disconnect");
    EXPECT_FALSE(dlg->IsTested());
    m_state->failures.clear();
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Connect");
    EXPECT_TRUE(dlg->IsTested());
}

TEST_F(DlgFTPTest, ComponentThatCannotBeCreated) {
    CRecordingFtpRegistration reg(m_state, /*creatable=*/false);
    CMessageRecorder boxes;
    auto dlg = Open();
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].message, "COM Component creation failed");
    EXPECT_EQ(boxes.boxes[0].caption, wxTheApp->GetAppDisplayName());
    EXPECT_EQ(boxes.boxes[0].icon, wxICON_EXCLAMATION);
    EXPECT_EQ(boxes.boxes[0].popupsVisible, 1);
    EXPECT_EQ(boxes.boxes[1].caption, "Error");
    EXPECT_EQ(boxes.boxes[1].popupsVisible, 0);
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Connect");
}

TEST_F(DlgFTPTest, TestedReachesTheRecordOnlyThroughOk) {
    CRecordingFtpRegistration reg(m_state);
    CMessageRecorder boxes;
    EXPECT_EQ(RunOnRecord([&](CDlgFTP& cancelled) {
                  Type(&cancelled, CDlgFTP::IDC_USER, "changed");
                  Click(&cancelled, CDlgFTP::IDC_CONNECT);
                  cancelled.EndModal(wxID_CANCEL);
              }),
              wxID_CANCEL);
    EXPECT_EQ(m_state->Calls().back(), "call 7") << "the test session ends with the dialog";
    EXPECT_EQ(m_conn.m_strUser, "alice");
    EXPECT_FALSE(m_conn.m_bTestPassed);

    EXPECT_EQ(RunOnRecord([&](CDlgFTP& confirmed) {
                  Click(&confirmed, CDlgFTP::IDC_CONNECT);
                  Click(&confirmed, wxID_OK);
              }),
              wxID_OK);
    EXPECT_TRUE(m_conn.m_bTestPassed);
    EXPECT_TRUE(boxes.boxes.empty());
}

// Connect tries what OK would store: text the code page cannot hold is refused at
// both, before any connection and with the record untouched.
TEST_F(DlgFTPTest, TextTheCodePageCannotHoldIsRefusedAtConnectAndAtOk) {
    CRecordingFtpRegistration reg(m_state);
    EXPECT_EQ(RunOnRecord([&](CDlgFTP& dlg) {
                  m_state->ClearCalls();
                  Type(&dlg, CDlgFTP::IDC_PASSWORD, wxString(L"\u043f\u0430\u0440\u043e\u043b\u044c"));
                  dlgtest::ExpectCannotHold(&dlg, CDlgFTP::IDC_CONNECT, "Password", L'\u043f');
                  dlgtest::ExpectCannotHold(&dlg, wxID_OK, "Password", L'\u043f');
                  EXPECT_FALSE(dlg.IsTested());
                  ASSERT_TRUE(dlg.IsModal()); // refused, not closed
                  Click(&dlg, wxID_CANCEL);
              }),
              wxID_CANCEL);
    EXPECT_TRUE(m_state->Calls().empty());
    EXPECT_EQ(m_conn.m_strPassword, "s\xe9same");
}

// The "Connecting ..." popup appears centred on its owner, and only its caller can take
// it away.
TEST(RemotePopup, CentredOnItsOwnerAndClosedOnlyByItsCaller) {
    auto* owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(100, 80), wxSize(401, 301));
    owner->Show();
    Pump(std::chrono::milliseconds(100));
    auto* popup = new CConnectingPopup(owner);
    popup->ShowPopup();
    Pump(std::chrono::milliseconds(100));
    const wxRect own = owner->GetScreenRect();
    const wxRect mine = popup->GetScreenRect();
    EXPECT_EQ(mine.x, own.x + (own.width / 2 - mine.width / 2));
    EXPECT_EQ(mine.y, own.y + (own.height / 2 - mine.height / 2));
    EXPECT_EQ(CConnectingPopup::VisibleCount(), 1);

    // Neither the close box nor Escape ends it under the caller's feet.
    EXPECT_FALSE(popup->Close());
    wxKeyEvent esc(wxEVT_CHAR_HOOK);
    esc.m_keyCode = WXK_ESCAPE;
    popup->ProcessWindowEvent(esc);
    Pump(std::chrono::milliseconds(50));
    EXPECT_TRUE(popup->IsShown());

    const auto start = std::chrono::steady_clock::now();
    popup->ClosePopup();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(CConnectingPopup::VisibleCount(), 0);
    owner->Destroy();
    Pump(std::chrono::milliseconds(50));
}

} // namespace
