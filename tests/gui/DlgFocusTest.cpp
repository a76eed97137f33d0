// Every dialog: the control it opens in, that the focus is shown from the start, and
// where one Tab press through the display takes the focus next.
#include "../common/DlgTestSupport.h"
#include "standins/RecordingFtp.h"

#include "controls/ToolkitSymbol.h"
#include "dialogs/CDlgConnections.h"
#include "dialogs/CDlgMail.h"
#include "dialogs/CDlgMain.h"
#include "dialogs/CDlgMasks.h"
#include "dialogs/CDlgProxy.h"
#include "dialogs/CDlgReports.h"
#include "dialogs/CDlgService.h"
#include "model/CCorvaneDoc.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"

#include <memory>

using namespace dlgtest;

namespace {

// A project with one connection (none when `bare`), and what the dialogs edit besides.
struct Env {
    explicit Env(bool bare) {
        if (!bare)
            doc.m_arrConnections.emplace_back().m_strHost = "ftp.example.com";
        conn.m_strHost = "ftp.example.com";
    }
    CCorvaneDoc doc;
    CFolderProfile profile;
    std::vector<CFileMask> masks;
    CConnectionInfo conn;
    testftp::CRecordingFtpRegistration registration{std::make_shared<testftp::FakeFtpState>()};
};

bool FocusIn(wxWindow* dlg, int id) {
    wxWindow* control = dlg->FindWindow(id);
    wxWindow* focus = wxWindow::FindFocus();
    return control && focus && (focus == control || control->IsDescendant(focus));
}

bool FocusShown(wxWindow* dlg) {
    using GetFocusVisible = int (*)(void*);
    static const auto get = corvane::ToolkitSymbol<GetFocusVisible>("gtk_window_get_focus_visible");
    return get && get(dlg->GetHandle());
}

template <class Dialog> std::unique_ptr<wxDialog> OnProject(Env& e) {
    return std::make_unique<Dialog>(nullptr, &e.doc);
}
std::unique_ptr<wxDialog> Profile(Env& e) {
    return std::make_unique<CDlgMain>(nullptr, &e.doc, &e.profile);
}
template <class Dialog> std::unique_ptr<wxDialog> Remote(Env& e) {
    auto dlg = std::make_unique<Dialog>(nullptr, &e.doc);
    dlg->m_pConnection = &e.conn;
    return dlg;
}
std::unique_ptr<wxDialog> HostLocked(Env& e) {
    auto dlg = Remote<CDlgFTP>(e);
    static_cast<CDlgFTP*>(dlg.get())->SetHostLocked(true);
    return dlg;
}

class DlgFocusTest : public DialogTest {};

TEST_F(DlgFocusTest, EachDialogOpensInItsFirstFieldShowingTheFocusAndTabMovesOn) {
    using Make = std::unique_ptr<wxDialog> (*)(Env&);
    struct Case {
        const char* name;
        bool bare;
        Make make;
        int opensIn;
        int tabTo;
    } const cases[] = {
        {"proxy", false, OnProject<CDlgProxy>, CDlgProxy::kIdHost, CDlgProxy::kIdPort},
        {"interval", false, OnProject<CDlgService>, CDlgService::kIdMinutes, CDlgService::kIdUpDown},
        {"masks", false,
         [](Env& e) -> std::unique_ptr<wxDialog> { return std::make_unique<CDlgMasks>(nullptr, &e.masks); },
         CDlgMasks::kIdMask, CDlgMasks::kIdAdd},
        {"reports", false, OnProject<CDlgReports>, CDlgReports::kIdChannels, CDlgReports::kIdEnabled},
        {"mail", false, OnProject<CDlgMail>, CDlgMail::kIdServer, CDlgMail::kIdUser},
        {"connections", false, OnProject<CDlgConnections>, CDlgConnections::kIdList, CDlgConnections::kIdAdd},
        {"profile", false, Profile, CDlgMain::kIdConnection, CDlgMain::kIdEditConnection},
        // No connection to choose: the next field takes the focus.
        {"profile without connection", true, Profile, CDlgMain::kIdLocalFolder, CDlgMain::kIdBrowseLocal},
        // The host cannot be changed here: the port takes the focus.
        {"connection with locked host", false, HostLocked, CDlgFTP::IDC_PORT, CDlgFTP::IDC_USER},
        // Looked at once connected: the blocking connect gave the focus back, and Tab
        // passes the frame of the bar by.
        {"folder browser", false, Remote<CDlgFTPFolder>, CDlgFTPFolder::IDC_TREE, wxID_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Env env(c.bare);
        std::unique_ptr<wxDialog> dlg = c.make(env);
        RunModal(*dlg, [&] {
            auto* browser = dynamic_cast<CDlgFTPFolder*>(dlg.get());
            testpump::Pump(std::chrono::milliseconds(100));
            if (browser) {
                EXPECT_TRUE(testpump::PumpUntil([&] { return browser->HasStarted(); }));
            }
            EXPECT_TRUE(FocusIn(dlg.get(), c.opensIn));
            EXPECT_TRUE(FocusShown(dlg.get()));
            // Keys reach the window under the pointer on a display without a window manager.
            wxUIActionSimulator sim;
            sim.MouseMove(dlg->GetScreenPosition() + wxPoint(dlg->GetSize().x / 2, 3));
            testpump::Pump(std::chrono::milliseconds(50));
            sim.Char(WXK_TAB);
            EXPECT_TRUE(
                testpump::PumpUntil([&] { return FocusIn(dlg.get(), c.tabTo); }, std::chrono::seconds(3)));
            dlg->EndModal(wxID_CANCEL);
        });
    }
}

} // namespace
