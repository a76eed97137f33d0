// Screenshots of every settings editor, for looking at the layout and for the README.
// Runs only when CORVANE_SCREENSHOT_DIR names the folder for the PNGs
// (scripts/screenshots.sh sets it); otherwise each case is skipped.
#include "DlgTestSupport.h"

#include "controls/CIconListBox.h"
#include "dialogs/CDlgConnections.h"
#include "dialogs/CDlgMail.h"
#include "dialogs/CDlgMain.h"
#include "dialogs/CDlgMasks.h"
#include "dialogs/CDlgProxy.h"
#include "dialogs/CDlgReports.h"
#include "dialogs/CDlgService.h"
#include "model/CCorvaneDoc.h"

#include <cstdlib>
#include <memory>
#include <wx/utils.h>

using namespace dlgtest;

namespace {

wxString ShotDir() {
    const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR");
    return dir ? wxString::FromUTF8(dir) : wxString();
}

// Lets GTK map and paint the window, then copies its screen area into a PNG.
void Capture(wxWindow* win, const wxString& name) {
    auto painted = std::make_shared<bool>(false);
    win->Bind(wxEVT_PAINT, [painted](wxPaintEvent& ev) {
        *painted = true;
        ev.Skip();
    });
    win->Refresh();
    for (int i = 0; i < 100 && !*painted; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(20);
    }
    for (int i = 0; i < 10; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(20);
    }
    win->Update();
    wxTheApp->Yield(true);
    // The screen DC of GTK 3 can return stale pixels; the X server's own copy cannot.
    const wxRect r = win->GetScreenRect();
    const wxString path = ShotDir() + "/" + name + ".png";
    const wxString cmd = wxString::Format("import -window root -crop %dx%d+%d+%d +repage \"%s\"", r.width,
                                          r.height, r.x, r.y, path);
    EXPECT_EQ(wxExecute(cmd, wxEXEC_SYNC | wxEXEC_NODISABLE), 0) << cmd.utf8_str();
}

void Shoot(wxDialog& dlg, const wxString& name, std::function<void()> prepare = {}) {
    dlg.Move(20, 20);
    RunModal(dlg, [&] {
        if (prepare)
            prepare();
        Capture(&dlg, name);
        dlg.EndModal(wxID_CANCEL);
    });
}

class DlgScreenshots : public DialogTest {
protected:
    void SetUp() override {
        if (ShotDir().empty())
            GTEST_SKIP() << "CORVANE_SCREENSHOT_DIR not set";
    }
    CCorvaneDoc m_doc;
};

TEST_F(DlgScreenshots, Proxy) {
    CDlgProxy dlg(nullptr, &m_doc);
    Shoot(dlg, "proxy");
}

TEST_F(DlgScreenshots, Interval) {
    CDlgService dlg(nullptr, &m_doc);
    Shoot(dlg, "interval");
}

TEST_F(DlgScreenshots, Masks) {
    std::vector<CFileMask> masks{{"*.tmp", true, false}, {"~*", true, true}, {"Thumbs.db", false, true}};
    CDlgMasks dlg(nullptr, &masks);
    Shoot(dlg, "masks");
}

TEST_F(DlgScreenshots, Reports) {
    CDlgReports dlg(nullptr, &m_doc);
    Shoot(dlg, "reports");
}

TEST_F(DlgScreenshots, ReportsLog) {
    CDlgReports dlg(nullptr, &m_doc);
    Shoot(dlg, "reports-log", [&] {
        auto* list = Ctrl<CIconListBox>(&dlg, CDlgReports::kIdChannels);
        list->SetCurSel(CDlgReports::channelLog);
        wxCommandEvent ev(wxEVT_LISTBOX, CDlgReports::kIdChannels);
        ev.SetEventObject(list);
        list->ProcessWindowEvent(ev);
    });
}

TEST_F(DlgScreenshots, Mail) {
    m_doc.m_mail.m_arrRecipients = {"ops@example.com", "backup-admin@example.org"};
    CDlgMail dlg(nullptr, &m_doc);
    Shoot(dlg, "mail");
}

TEST_F(DlgScreenshots, Connections) {
    for (const char* host : {"ftp.example.com", "backup.example.org", "10.0.0.7"}) {
        m_doc.m_arrConnections.emplace_back();
        m_doc.m_arrConnections.back().m_strHost = host;
    }
    CDlgConnections dlg(nullptr, &m_doc);
    Shoot(dlg, "connections");
}

TEST_F(DlgScreenshots, FolderProfile) {
    for (const char* host : {"ftp.example.com", "127.0.0.1"}) {
        m_doc.m_arrConnections.emplace_back();
        m_doc.m_arrConnections.back().m_strHost = host;
    }
    CFolderProfile profile;
    profile.m_strLocalFolder = "/home/operator/Documents/outgoing";
    profile.m_strFtpFolder = "/pub/incoming";
    profile.m_bUpload = true;
    profile.m_bUseMasks = true;
    CDlgMain dlg(nullptr, &m_doc, &profile);
    Shoot(dlg, "folder-profile");
}

TEST_F(DlgScreenshots, FolderProfileWithoutConnection) {
    CFolderProfile profile;
    CDlgMain dlg(nullptr, &m_doc, &profile);
    Shoot(dlg, "folder-profile-no-connection");
}

} // namespace
