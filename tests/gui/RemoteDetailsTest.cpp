// "Details" of the connection test and of the browser against real servers: Connect, Details,
// Copy, and the clipboard holds the transcript, password masked; the passive address warning
// shows beside the result; listing lines that could not be read are named.
#include "../common/LoopbackConnection.h"
#include "../common/RemoteFtpPeer.h"
#include "../common/RemoteTestSupport.h"

#include "platform/StandardComponents.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"
#include "remote/CDlgTranscript.h"

#include <wx/dataobj.h>
#include <wx/stattext.h>

using namespace remotetest;

namespace {

wxString Clipboard() {
    wxString text;
    if (wxTheClipboard->Open()) {
        wxTextDataObject data;
        if (wxTheClipboard->GetData(data))
            text = data.GetText();
        wxTheClipboard->Close();
    }
    return text;
}

// Opens Details in `dlg`, presses Copy and closes it; what the clipboard then holds.
wxString CopyDetails(wxWindow* dlg, int detailsId) {
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject("before"));
        wxTheClipboard->Close();
    }
    dlgtest::CDriveNested<CDlgTranscript> details([](CDlgTranscript* t) {
        Click(t, CDlgTranscript::IDC_COPY);
        Click(t, wxID_OK);
    });
    EXPECT_TRUE(dlg->FindWindow(detailsId)->IsShown());
    Click(dlg, detailsId);
    EXPECT_EQ(details.m_nRuns, 1);
    return Clipboard();
}

class RemoteDetailsTest : public ::testing::Test {
protected:
    void SetUp() override { corvane::RegisterStandardComponents(); }
    CCorvaneDoc m_doc;
};

TEST_F(RemoteDetailsTest, ConnectionTestOffersItsTranscriptAndThePassiveWarning) {
    CFtpPeer natted({"--tree", "--user", "alice:s3cr3t", "--masquerade", "10.0.0.5"});
    ASSERT_TRUE(natted.IsUp());
    CConnectionInfo conn = testpeer::LoopbackConnection(natted.Port(), false, "alice", "s3cr3t");
    CDlgFTP dlg(nullptr, &m_doc);
    dlg.m_pConnection = &conn;
    dlg.Show();
    CMessageRecorder boxes;
    EXPECT_FALSE(dlg.FindWindow(CDlgFTP::IDC_DETAILS)->IsShown()) << "nothing to show before a test";
    Click(&dlg, CDlgFTP::IDC_CONNECT);
    ASSERT_TRUE(dlg.IsConnected());
    EXPECT_TRUE(boxes.boxes.empty());
    auto* warning = dynamic_cast<wxStaticText*>(dlg.FindWindow(CDlgFTP::IDC_PASSIVE_WARNING));
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->GetLabel().Contains("10.0.0.5")) << warning->GetLabel().utf8_str();

    const wxString copied = CopyDetails(&dlg, CDlgFTP::IDC_DETAILS);
    for (const char* line :
         {"-- login", "> USER alice", "> PASS ********", "> PASV", "< 227 ", "-- listing took "})
        EXPECT_TRUE(copied.Contains(line)) << line << "\n" << copied.utf8_str();
    EXPECT_FALSE(copied.Contains("s3cr3t"));

    // A failure offers its transcript too, ending in the stage that failed.
    conn.m_strPassword = "wrong";
    CDlgFTP failing(nullptr, &m_doc);
    failing.m_pConnection = &conn;
    failing.Show();
    Click(&failing, CDlgFTP::IDC_CONNECT);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].message.StartsWith("Login failed: ")) << boxes.boxes[0].message.utf8_str();
    EXPECT_EQ(failing.FindWindow(CDlgFTP::IDC_PASSIVE_WARNING)->GetLabel(), "");
    EXPECT_TRUE(CopyDetails(&failing, CDlgFTP::IDC_DETAILS).Contains("-- login failed after "));
}

TEST_F(RemoteDetailsTest, BrowserFailureOffersItsTranscript) {
    CFtpPeer server({"--tree", "--user", "alice:secret"});
    ASSERT_TRUE(server.IsUp());
    CConnectionInfo conn = testpeer::LoopbackConnection(server.Port(), false, "alice", "wrong");
    CDlgFTPFolder dlg(nullptr, &m_doc);
    dlg.m_pConnection = &conn;
    dlg.m_strPath = "/";
    dlg.Show();
    ASSERT_TRUE(PumpUntil([&] { return dlg.HasStarted(); }));
    EXPECT_TRUE(CopyDetails(&dlg, CDlgFTPFolder::IDC_DETAILS).Contains("-- login failed after "));
}

// A listing line in no known format: the folders that could be read are shown, and the
// status line's tooltip says what was left out (the label is wrapped to the line).
TEST_F(RemoteDetailsTest, BrowserSaysWhichListingLinesWereNotRead) {
    CFtpPeer peer({"list", "unix"}, "fault_server.py");
    ASSERT_TRUE(peer.IsUp());
    CConnectionInfo conn = testpeer::LoopbackConnection(peer.Port());
    CDlgFTPFolder dlg(nullptr, &m_doc);
    dlg.m_pConnection = &conn;
    dlg.m_strPath = "/";
    dlg.Show();
    ASSERT_TRUE(PumpUntil([&] { return dlg.HasStarted(); }));
    EXPECT_TRUE(ChildNamed(dlg.GetTree(), dlg.GetTree()->GetRootItem(), "no group dir").IsOk());
    EXPECT_EQ(dlg.FindWindow(CDlgFTPFolder::IDC_STATUS)->GetToolTipText(),
              "/: 1 line of the listing could not be read and is not shown (the first: \"this line is no "
              "entry at all\").");
}

} // namespace
