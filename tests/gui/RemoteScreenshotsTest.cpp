// Screenshots of the remote dialogs and the "Connecting ..." popup, for looking at
// the layout. Runs only when CORVANE_SCREENSHOT_DIR names the folder for the PNGs.
#include "../common/RecordingFtp.h"
#include "RemoteFtpPeer.h"
#include "RemoteTestSupport.h"

#include "model/CCorvaneDoc.h"
#include "platform/StandardComponents.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"

#include <cstdlib>
#include <thread>
#include <wx/utils.h>

using namespace remotetest;
using namespace testftp;

namespace {

wxString ShotDir() {
    const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR");
    return dir ? wxString::FromUTF8(dir) : wxString();
}

// The X server's own copy of a screen area (the GTK 3 screen DC can be stale).
void Capture(const wxRect& r, const wxString& name) {
    const wxString path = ShotDir() + "/" + name + ".png";
    const wxString cmd = wxString::Format("import -window root -crop %dx%d+%d+%d +repage \"%s\"", r.width,
                                          r.height, r.x, r.y, path);
    EXPECT_EQ(wxExecute(cmd, wxEXEC_SYNC | wxEXEC_NODISABLE), 0) << cmd.utf8_str();
}

class RemoteScreenshots : public ::testing::Test {
protected:
    void SetUp() override {
        if (ShotDir().empty())
            GTEST_SKIP() << "CORVANE_SCREENSHOT_DIR not set";
        corvane::RegisterStandardComponents();
        m_conn.m_strHost = "127.0.0.1";
        m_conn.m_nPort = m_peer.Port();
        m_conn.m_bPassive = true;
    }
    CFtpPeer m_peer{{"--tree", "--anonymous"}};
    CCorvaneDoc m_doc;
    CConnectionInfo m_conn;
};

TEST_F(RemoteScreenshots, ConnectionDialogAndPopup) {
    auto state = std::make_shared<FakeFtpState>();
    CRecordingFtpRegistration slow(state);
    // Keeps the attempt running long enough to photograph the popup over the dialog.
    state->onConnect = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2500)); };
    CDlgFTP dlg(nullptr, &m_doc);
    dlg.m_pConnection = &m_conn;
    dlg.Move(40, 40);
    dlg.Show();
    Pump(std::chrono::milliseconds(500));
    Capture(dlg.GetScreenRect(), "ftp-connection");

    wxTimer shot;
    shot.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        wxRect area = dlg.GetScreenRect();
        area.Inflate(20);
        Capture(area, "ftp-connection-popup");
    });
    shot.StartOnce(1500);
    Click(&dlg, CDlgFTP::IDC_CONNECT);
    Pump(std::chrono::milliseconds(500));
    Capture(dlg.GetScreenRect(), "ftp-connection-connected");
}

TEST_F(RemoteScreenshots, FolderBrowser) {
    auto dlg = std::make_unique<CDlgFTPFolder>(nullptr, &m_doc);
    dlg->m_pConnection = &m_conn;
    dlg->m_strPath = "/pub/data";
    dlg->Move(40, 40);
    dlg->Show();
    Pump(std::chrono::milliseconds(100));
    Capture(dlg->GetScreenRect(), "ftp-folder-connecting");
    ASSERT_TRUE(PumpUntil([&] { return dlg->HasStarted(); }));
    Pump(std::chrono::milliseconds(500));
    Capture(dlg->GetScreenRect(), "ftp-folder");
    dlg.reset();

    CConnectionInfo refused = m_conn;
    refused.m_strPassword = "x";
    refused.m_strUser = "nobody";
    auto failed = std::make_unique<CDlgFTPFolder>(nullptr, &m_doc);
    failed->m_pConnection = &refused;
    failed->Move(40, 40);
    failed->Show();
    ASSERT_TRUE(PumpUntil([&] { return failed->HasStarted(); }));
    Pump(std::chrono::milliseconds(500));
    Capture(failed->GetScreenRect(), "ftp-folder-failed");
}

} // namespace
