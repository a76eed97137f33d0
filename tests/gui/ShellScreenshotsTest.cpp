// Screenshots of the main window in its four list styles, with each menu open,
// with the context menu, and of the About box. Runs only when
// CORVANE_SCREENSHOT_DIR names the folder for the PNGs (scripts/screenshots-shell.sh
// sets it); otherwise each case is skipped.
#include "DlgTestSupport.h"
#include "ShellTestSupport.h"
#include "app/CAboutDialog.h"
#include "app/CCorvaneShell.h"
#include "app/CCorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"

#include <cstdlib>
#include <memory>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

using namespace shelltest;

namespace {

wxString ShotDir() {
    const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR");
    return dir ? wxString::FromUTF8(dir) : wxString();
}

void Settle(int ms = 300) {
    for (int i = 0; i < ms / 20; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(20);
    }
}

// The X server's own copy of a screen area: GTK 3's screen DC can return stale pixels.
void CaptureRect(const wxRect& r, const wxString& name) {
    const wxString path = ShotDir() + "/" + name + ".png";
    const wxString cmd = wxString::Format("import -window root -crop %dx%d+%d+%d +repage \"%s\"", r.width,
                                          r.height, r.x, r.y, path);
    EXPECT_EQ(wxExecute(cmd, wxEXEC_SYNC | wxEXEC_NODISABLE), 0) << cmd.utf8_str();
}

class ShellScreenshots : public dlgtest::DialogTest {
protected:
    void SetUp() override {
        if (ShotDir().empty())
            GTEST_SKIP() << "CORVANE_SCREENSHOT_DIR not set";
        for (int i = 0; i < 3; ++i)
            WriteProject(m_dir / ("project" + std::to_string(i) + ".dix"), i);
        m_pShell = std::make_unique<CCorvaneShell>(m_dir / "Corvane.conf");
        ASSERT_TRUE(m_pShell->InitInstance({"corvane"}));
        for (int i = 0; i < 3; ++i)
            m_pShell->OpenDocumentFile(wxString::FromUTF8(m_dir / ("project" + std::to_string(i) + ".dix")));
        CCorvaneDoc& doc = m_pShell->GetDocument();
        doc.m_arrProfiles.clear();
        doc.m_arrProfiles.push_back(MakeProfile("ftp.halden.example", true, true, true));
        doc.m_arrProfiles.push_back(MakeProfile("backup.example.net", false, true, false));
        doc.m_arrProfiles.push_back(MakeProfile("10.0.0.12", true, false, true));
        doc.m_arrProfiles.back().m_strLocalFolder = "/srv/exchange/outgoing/invoices";
        doc.m_arrProfiles.push_back(MakeProfile("mirror.example.org", true, true, false));
        Frame()->GetProfileView()->FillList();
        Frame()->Move(0, 0);
        Settle();
    }

    CMainFrame* Frame() { return m_pShell->GetMainFrame(); }

    CTempDir m_dir;
    std::unique_ptr<CCorvaneShell> m_pShell;
};

} // namespace

TEST_F(ShellScreenshots, ListStyles) {
    const std::pair<int, const char*> styles[] = {{ID_VIEW_DETAILS, "main-details"},
                                                  {ID_VIEW_LARGEICON, "main-large-icons"},
                                                  {ID_VIEW_SMALLICON, "main-small-icons"},
                                                  {ID_VIEW_LIST, "main-list"}};
    Frame()->GetProfileView()->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    for (const auto& [id, name] : styles) {
        wxCommandEvent event(wxEVT_MENU, id);
        Frame()->ProcessWindowEvent(event);
        Settle();
        CaptureRect(Frame()->GetScreenRect(), name);
    }
}

TEST_F(ShellScreenshots, Menus) {
    Frame()->GetProfileView()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxUIActionSimulator sim;
    const wxRect frame = Frame()->GetScreenRect();
    // Keys go to the window under the pointer on a display without a window manager.
    sim.MouseMove(frame.x + frame.width / 2, frame.y + frame.height / 2);
    Settle(100);
    sim.Char(WXK_F10);
    const char* names[] = {"menu-file", "menu-view", "menu-folders", "menu-settings", "menu-help"};
    for (const char* name : names) {
        Settle();
        CaptureRect(frame, name);
        sim.Char(WXK_RIGHT);
    }
    sim.Char(WXK_ESCAPE);
    Settle(100);
}

TEST_F(ShellScreenshots, ContextMenu) {
    CCorvaneView* view = Frame()->GetProfileView();
    wxRect row;
    ASSERT_TRUE(view->GetItemRect(2, row));
    const wxPoint at = view->ClientToScreen(row.GetPosition() + wxPoint(40, row.height / 2));
    // The menu runs its own loop: the picture is taken from a timer inside it.
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        Settle();
        CaptureRect(Frame()->GetScreenRect(), "context-menu");
        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
    timer.StartOnce(400);
    wxUIActionSimulator sim;
    sim.MouseMove(at);
    Settle(100);
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
    Settle(1200);
    // The right click marked the row under the pointer.
    EXPECT_EQ(view->GetSelectionMark(), 2);
}

TEST_F(ShellScreenshots, About) {
    CAboutDialog dlg(Frame());
    dlg.Move(40, 40);
    dlgtest::RunModal(dlg, [&] {
        Settle();
        CaptureRect(dlg.GetScreenRect(), "about");
        dlg.EndModal(wxID_OK);
    });
}
