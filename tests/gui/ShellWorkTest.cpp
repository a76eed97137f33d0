// Network work started from the real window, against real peers on loopback, with real
// clicks and keys: the dialogs stay modal through it, it can be cancelled, and it says
// how it went in words.
#include "../common/LoopbackConnection.h"
#include "../common/RemoteFtpPeer.h"
#include "../common/RemoteTestSupport.h"
#include "../common/ShellTestSupport.h"

#include "app/CommandIds.h"
#include "dialogs/CDlgConnections.h"
#include "dialogs/CDlgMail.h"
#include "dialogs/CDlgMain.h"
#include "platform/StandardComponents.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"

#include <wx/aui/auibar.h>
#include <wx/stattext.h>

using namespace dlgtest;
using std::chrono::milliseconds;

namespace {

class ShellWork : public shelltest::FrameTest {
protected:
    void SetUp() override {
        corvane::RegisterStandardComponents();
        ASSERT_TRUE(m_ftp.IsUp()) << "the fixture FTP server did not start";
        for (const char* folder : {"incoming", "outgoing", "archive"})
            std::filesystem::create_directories(m_ftp.Root() / folder);
        FrameTest::SetUp();
        m_doc.m_arrConnections = {testpeer::LoopbackConnection(m_ftp.Port())};
    }

    // A real click on a button of the main toolbar.
    void ClickTool(int id) {
        wxAuiToolBar* tb = m_pFrame->GetDockToolBar();
        ClickAt(tb, tb->GetToolRect(id));
    }

    // The main window under the open dialogs takes no click: a folder profile editor
    // or a second connections list opening now fails the test (see CNoStrayDialogs).
    void ExpectMainWindowInert() {
        ClickTool(ID_FOLDERS_NEW);
        ClickTool(ID_SETTINGS_CONNECTIONS);
        testpump::Pump();
    }

    static wxString Text(wxWindow* dlg, int id) { return dlg->FindWindow(id)->GetLabel(); }
    // A real click on button `id` of `dlg`.
    static void Press(wxWindow* dlg, int id) {
        wxWindow* button = dlg->FindWindow(id);
        ASSERT_NE(button, nullptr) << "no control " << id << " in " << dlg->GetLabel();
        testpump::RealClick(button, wxPoint(button->GetSize().x / 2, button->GetSize().y / 2));
    }

    remotetest::CFtpPeer m_ftp{{"--user", "alice:secret"}};
};

TEST_F(ShellWork, DialogsStayModalAfterAConnectionTest) {
    CDriveNested<CDlgFTP> editor([&](CDlgFTP* ftp) {
        Press(ftp, CDlgFTP::IDC_CONNECT);
        EXPECT_TRUE(testpump::PumpUntil([&] { return ftp->IsConnected(); }, std::chrono::seconds(10)));
        EXPECT_EQ(Text(ftp, CDlgFTP::IDC_STATUS),
                  "Connected to 127.0.0.1 as alice. 3 folders in the login folder.");
        ExpectMainWindowInert();
        Press(ftp, wxID_CANCEL);
    });
    CDriveNested<CDlgConnections> connections([&](CDlgConnections* list) {
        Press(list, CDlgConnections::kIdEdit);
        ExpectMainWindowInert();
        Press(list, wxID_OK);
    });
    ClickTool(ID_SETTINGS_CONNECTIONS);
    EXPECT_EQ(connections.m_nRuns, 1);
    EXPECT_EQ(editor.m_nRuns, 1);
}

// Against a server that accepts the connection and never says a word, the popup animates
// and its Cancel ends the attempt at once, with no error box (Escape does as well: the
// browse and the mail below).
TEST_F(ShellWork, AHungConnectionTestEndsAtThePopupsCancel) {
    remotetest::CFtpPeer hang({"hang"}, "fault_server.py");
    ASSERT_TRUE(hang.IsUp());
    m_doc.m_arrConnections[0].m_nPort = hang.Port();
    remotetest::CMessageRecorder boxes;
    CDriveNested<CDlgFTP> editor([&](CDlgFTP* ftp) {
        using Clock = std::chrono::steady_clock;
        Clock::time_point cancelled;
        wxTimer during;
        during.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            // Once the popup's bar has moved on.
            wxWindow* cancel = nullptr;
            ASSERT_TRUE(testpump::PumpUntil([&] {
                for (wxWindow* w : wxTopLevelWindows)
                    if (auto* popup = dynamic_cast<CConnectingPopup*>(w);
                        popup && popup->IsShown() && popup->GetStep() >= 1)
                        cancel = popup->GetCancelButton();
                return cancel != nullptr;
            }));
            testpump::RealClick(cancel);
            cancelled = Clock::now();
        });
        during.StartOnce(300);
        Press(ftp, CDlgFTP::IDC_CONNECT);
        ASSERT_TRUE(testpump::PumpUntil([&] { return Text(ftp, CDlgFTP::IDC_STATUS) == "Cancelled"; },
                                        std::chrono::seconds(5)));
        EXPECT_LT(Clock::now() - cancelled, milliseconds(1500));
        EXPECT_FALSE(ftp->IsConnected());
        EXPECT_TRUE(ftp->IsModal());
        EXPECT_EQ(wxWindow::FindFocus(), ftp->FindWindow(CDlgFTP::IDC_CONNECT));
        Press(ftp, wxID_CANCEL);
    });
    CDriveNested<CDlgConnections> connections([&](CDlgConnections* list) {
        Press(list, CDlgConnections::kIdEdit);
        Press(list, wxID_OK);
    });
    ClickTool(ID_SETTINGS_CONNECTIONS);
    EXPECT_EQ(editor.m_nRuns, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

// The browser's listing and the mail Send, against servers that never answer, end at
// Escape; the dialog stays and says so.
TEST_F(ShellWork, AHungBrowseOrTestMailEndsAtEscape) {
    remotetest::CFtpPeer hang({"hang"}, "fault_server.py");
    ASSERT_TRUE(hang.IsUp());
    m_doc.m_arrConnections[0].m_nPort = hang.Port();
    m_doc.m_mail.m_strServer = "127.0.0.1";
    m_doc.m_mail.m_nPort = hang.Port();
    remotetest::CMessageRecorder boxes;
    // Escape, half a second into the work that follows.
    auto escapeSoon = [](wxWindow* dlg) {
        auto timer = std::make_unique<wxTimer>();
        timer->Bind(wxEVT_TIMER, [dlg](wxTimerEvent&) {
            testpump::PointAt(dlg, wxPoint(30, 30));
            wxUIActionSimulator().Char(WXK_ESCAPE);
        });
        timer->StartOnce(500);
        return timer;
    };
    CDriveNested<CDlgFTPFolder> browser([&](CDlgFTPFolder* dlg) {
        auto escape = escapeSoon(dlg);
        ASSERT_TRUE(testpump::PumpUntil([&] { return dlg->HasStarted(); }, std::chrono::seconds(5)));
        EXPECT_EQ(Text(dlg, CDlgFTPFolder::IDC_STATUS), "Cancelled");
        EXPECT_TRUE(dlg->IsModal());
        Press(dlg, wxID_CANCEL);
    });
    CDriveNested<CDlgMain> profile([&](CDlgMain* dlg) {
        Press(dlg, CDlgMain::kIdBrowseFtp);
        EXPECT_EQ(wxWindow::FindFocus(), dlg->FindWindow(CDlgMain::kIdBrowseFtp));
        Press(dlg, wxID_CANCEL);
    });
    ClickTool(ID_FOLDERS_NEW);
    EXPECT_EQ(browser.m_nRuns, 1);

    CDriveNested<CDlgMail> mail([&](CDlgMail* dlg) {
        auto escape = escapeSoon(dlg);
        const auto start = std::chrono::steady_clock::now();
        Press(dlg, CDlgMail::kIdSend);
        ASSERT_TRUE(testpump::PumpUntil([&] { return Text(dlg, CDlgMail::kIdResult) == "Cancelled"; },
                                        std::chrono::seconds(5)));
        EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(2500));
        EXPECT_TRUE(dlg->IsModal());
        Press(dlg, wxID_CANCEL);
    });
    ClickTool(ID_SETTINGS_MAIL);
    EXPECT_EQ(mail.m_nRuns, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

} // namespace
