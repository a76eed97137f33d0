// The main window's menus, toolbar, status bar, and the enabling it decides.
#include "../common/RealClick.h"
#include "DlgTestSupport.h"
#include "ShellTestSupport.h"
#include "app/CCorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "controls/ToolkitSymbol.h"
#include "dialogs/CDlgMain.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include <wx/aui/auibar.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

using namespace shelltest;

namespace {

class ShellFrame : public dlgtest::DialogTest {
protected:
    void SetUp() override {
        m_doc.OnNewDocument();
        m_pFrame = new CMainFrame(nullptr, &m_doc, &m_store);
        m_pFrame->GetProfileView()->OnInitialUpdate();
        m_pFrame->Show();
    }
    void TearDown() override { delete m_pFrame; }

    CCorvaneView* View() { return m_pFrame->GetProfileView(); }

    void AddProfiles(int n) {
        for (int i = 0; i < n; ++i)
            m_doc.m_arrProfiles.push_back(MakeProfile("host" + std::to_string(i)));
        View()->FillList();
    }

    void Command(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(m_pFrame);
        m_pFrame->ProcessWindowEvent(event);
    }

    // The state the frame's handlers give a command, as a menu or button shows it.
    struct UiState {
        bool enabled = true;
        bool checked = false;
    };
    UiState Query(int id) {
        wxUpdateUIEvent event(id);
        event.SetEventObject(m_pFrame);
        m_pFrame->ProcessWindowEvent(event);
        return {event.GetSetEnabled() ? event.GetEnabled() : true,
                event.GetSetChecked() && event.GetChecked()};
    }

    CMemoryStore m_store;
    CCorvaneDoc m_doc{&m_store};
    CMainFrame* m_pFrame = nullptr;
};

// A picture's pixels, to tell pictures apart.
std::string Pixels(const wxBitmapBundle& picture) {
    const wxImage img = picture.GetBitmap(wxSize(16, 15)).ConvertToImage();
    if (!img.IsOk())
        return {};
    const auto* rgb = reinterpret_cast<const char*>(img.GetData());
    const auto* alpha = reinterpret_cast<const char*>(img.GetAlpha());
    const std::size_t n = static_cast<std::size_t>(img.GetWidth() * img.GetHeight());
    return std::string(rgb, n * 3) + (alpha ? std::string(alpha, n) : std::string());
}

} // namespace

// Each popup's item labels ("-" for a separator) and commands, in order; the
// labels carry the only three shortcuts.
TEST_F(ShellFrame, MenuBarHasTheItemsInOrder) {
    const std::pair<const char*, const char*> popups[] = {
        {"&File", "&New\tCtrl+N|&Open...\tCtrl+O|&Save\tCtrl+S|-|Recent File|-|E&xit"},
        {"&View", "&Toolbar|&Status Bar"},
        {"&Folders", "&New|&Delete|Edit"},
        {"&Settings", "Reports|Mail Account|FTP Connections|Interval Configuration|Proxy Firewall"},
        {"&Help", "&About Corvane..."},
    };
    const std::vector<int> commands = {wxID_NEW,
                                       wxID_OPEN,
                                       wxID_SAVE,
                                       wxID_FILE1,
                                       ID_APP_EXIT,
                                       ID_VIEW_TOOLBAR,
                                       ID_VIEW_STATUS_BAR,
                                       ID_FOLDERS_NEW,
                                       ID_FOLDERS_DELETE,
                                       ID_FOLDERS_EDIT,
                                       ID_SETTINGS_REPORTS,
                                       ID_SETTINGS_MAIL,
                                       ID_SETTINGS_CONNECTIONS,
                                       ID_SETTINGS_INTERVAL,
                                       ID_SETTINGS_PROXY,
                                       wxID_ABOUT};
    wxMenuBar* bar = m_pFrame->GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 5u);
    std::vector<int> seen;
    for (size_t m = 0; m < 5; ++m) {
        EXPECT_EQ(bar->GetMenuLabel(m), popups[m].first);
        wxString labels;
        for (const wxMenuItem* item : bar->GetMenu(m)->GetMenuItems()) {
            labels +=
                (labels.empty() ? "" : "|") + (item->IsSeparator() ? wxString("-") : item->GetItemLabel());
            if (!item->IsSeparator())
                seen.push_back(item->GetId());
        }
        EXPECT_EQ(labels, popups[m].second);
    }
    EXPECT_EQ(seen, commands);
    // Only items with a toolbar button carry a picture (theirs: see below).
    EXPECT_FALSE(bar->FindItem(ID_VIEW_TOOLBAR)->GetBitmapBundle().IsOk());
}

// Every button shows a picture of its own, the one its menu item carries, and offers
// a tip and a status prompt; the four list-style buttons exist only on the toolbar.
TEST_F(ShellFrame, ToolbarButtonsShowTheirMenuItemsPictureWithTipsAndPrompts) {
    wxAuiToolBar* tb = m_pFrame->GetDockToolBar();
    wxMenuBar* bar = m_pFrame->GetMenuBar();
    std::vector<std::string> pictures;
    int toolbarOnly = 0;
    for (size_t i = 0; i < tb->GetToolCount(); ++i) {
        const wxAuiToolBarItem* tool = tb->FindToolByIndex(static_cast<int>(i));
        if (tool->GetKind() == wxITEM_SEPARATOR)
            continue;
        SCOPED_TRACE(tool->GetId());
        const std::string picture = Pixels(tool->GetBitmapBundle());
        EXPECT_EQ(std::count(pictures.begin(), pictures.end(), picture), 0);
        pictures.push_back(picture);
        EXPECT_NE(tool->GetShortHelp(), "");
        EXPECT_NE(tool->GetLongHelp(), "");
        if (const wxMenuItem* item = bar->FindItem(tool->GetId()))
            EXPECT_EQ(Pixels(item->GetBitmapBundle()), picture);
        else
            ++toolbarOnly;
    }
    EXPECT_EQ(pictures.size(), 16u);
    EXPECT_EQ(toolbarOnly, 4);
    EXPECT_EQ(tb->FindTool(ID_SETTINGS_CONNECTIONS)->GetShortHelp(), " FTP Connections");
    EXPECT_EQ(tb->FindTool(ID_FOLDERS_DELETE)->GetLongHelp(), "Delete folfers profile");
    EXPECT_EQ(tb->FindTool(ID_VIEW_DETAILS)->GetShortHelp(), "Details");
    EXPECT_EQ(bar->FindItem(ID_FOLDERS_EDIT)->GetHelp(), "Edit existsing folders profile");

    wxAuiPaneInfo& pane = m_pFrame->GetDockManager().GetPane(tb);
    EXPECT_TRUE(pane.IsToolbar() && pane.IsFloatable());
    EXPECT_EQ(pane.dock_direction, wxAUI_DOCK_TOP);
    EXPECT_TRUE(pane.IsTopDockable() && pane.IsBottomDockable() && pane.IsLeftDockable() &&
                pane.IsRightDockable());

    wxStatusBar* status = m_pFrame->GetStatusBar();
    ASSERT_EQ(status->GetFieldsCount(), 4);
    EXPECT_EQ(status->GetStatusText(0), "Ready");
    // Each indicator pane is wide enough for its text.
    EXPECT_GE(status->GetStatusWidth(3), status->GetTextExtent("SCRL").x);
}

TEST_F(ShellFrame, EditAndDeleteFollowTheSelectionMarkInMenuBarAndContextMenu) {
    wxMenuBar* bar = m_pFrame->GetMenuBar();
    auto check = [&](bool expected) {
        bar->UpdateMenus();
        EXPECT_EQ(MenuItemEnabled(bar->GetMenu(2), ID_FOLDERS_EDIT), expected);
        EXPECT_EQ(MenuItemEnabled(bar->GetMenu(2), ID_FOLDERS_DELETE), expected);
        EXPECT_TRUE(MenuItemEnabled(bar->GetMenu(2), ID_FOLDERS_NEW));
        std::unique_ptr<wxMenu> context(View()->CreateContextMenu());
        ASSERT_NE(context, nullptr);
        ASSERT_EQ(context->GetMenuItemCount(), 3u);
        EXPECT_EQ(context->FindItemByPosition(2)->GetItemLabel(), "Edit");
        EXPECT_EQ(MenuItemEnabled(context.get(), ID_FOLDERS_EDIT), expected);
        EXPECT_EQ(MenuItemEnabled(context.get(), ID_FOLDERS_DELETE), expected);
        EXPECT_TRUE(MenuItemEnabled(context.get(), ID_FOLDERS_NEW));
    };
    check(false);
    AddProfiles(3);
    check(false);
    View()->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    check(true);
    // Clearing the selection keeps the mark, as the list control does.
    View()->SetItemState(2, 0, wxLIST_STATE_SELECTED);
    check(true);
    View()->FillList();
    check(false);
}

TEST_F(ShellFrame, ListStyleButtonsMarkTheCurrentStyleAndRowsAddedInAnyStyleKeepEveryCell) {
    struct Case {
        int command;
        long type;
        bool arrange;
    };
    const Case cases[] = {{ID_VIEW_LIST, wxLC_LIST, false},
                          {ID_VIEW_LARGEICON, wxLC_ICON, true},
                          {ID_VIEW_SMALLICON, wxLC_SMALL_ICON, true},
                          {ID_VIEW_DETAILS, wxLC_REPORT, false}};
    const int buttons[] = {ID_VIEW_SMALLICON, ID_VIEW_LARGEICON, ID_VIEW_LIST, ID_VIEW_DETAILS};
    AddProfiles(2);
    m_doc.m_arrConnections.emplace_back();
    m_doc.m_arrConnections.back().m_strHost = "ftp.added";
    dlgtest::CDriveNested<CDlgMain> editor([](CDlgMain* dlg) {
        dlgtest::SetCheck(dlg, CDlgMain::kIdUpload, true);
        dlgtest::Click(dlg, wxID_OK);
    });
    // Every row shows all five cells of its profile, whatever the style it was added in.
    auto expectCells = [&](int command) {
        ASSERT_EQ(View()->GetItemCount(), static_cast<int>(m_doc.m_arrProfiles.size()));
        for (long row = 0; row < View()->GetItemCount(); ++row) {
            const CFolderProfile& p = m_doc.m_arrProfiles[static_cast<std::size_t>(row)];
            const std::string cells[] = {p.m_strConnection, p.m_strFtpFolder, p.m_strLocalFolder,
                                         p.m_bDownload ? "Yes" : "No", p.m_bUpload ? "Yes" : "No"};
            for (int col = 0; col < 5; ++col)
                EXPECT_EQ(View()->GetItemText(row, col), cells[col]) << "row " << row << " after " << command;
        }
    };
    for (const Case& c : cases) {
        Command(c.command);
        EXPECT_EQ(View()->GetViewType(), c.type);
        Command(ID_FOLDERS_NEW);
        expectCells(c.command);
        for (int b : buttons) {
            EXPECT_TRUE(Query(b).enabled);
            EXPECT_EQ(Query(b).checked, b == c.command) << "button " << b << " after " << c.command;
        }
        EXPECT_EQ(Query(ID_VIEW_LINEUP).enabled, c.arrange);
        EXPECT_FALSE(Query(ID_VIEW_BYNAME).checked);
    }
    // Folders > New reached the view through the frame every time.
    EXPECT_EQ(editor.m_nRuns, 4);
    // The columns survive the round trip through the other styles.
    EXPECT_EQ(View()->GetColumnCount(), 5);
}

TEST_F(ShellFrame, ViewMenuTogglesToolbarAndStatusBar) {
    EXPECT_TRUE(Query(ID_VIEW_TOOLBAR).checked);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_pFrame->IsToolBarShown());
    EXPECT_FALSE(Query(ID_VIEW_TOOLBAR).checked);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(m_pFrame->IsToolBarShown());

    EXPECT_TRUE(Query(ID_VIEW_STATUS_BAR).checked);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(m_pFrame->GetStatusBar()->IsShown());
    EXPECT_FALSE(Query(ID_VIEW_STATUS_BAR).checked);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(m_pFrame->GetStatusBar()->IsShown());
}

// A right click through the display marks the row under the pointer and opens the
// context menu there, so that its commands act on that row.
TEST_F(ShellFrame, RightClickMarksTheRowUnderThePointerAndOpensTheContextMenu) {
    AddProfiles(3);
    testpump::Pump();
    wxRect row;
    ASSERT_TRUE(View()->GetItemRect(2, row));
    testpump::PointAt(View(), testpump::MiddleOf(View(), wxRect(row.x, row.y, 80, row.height)));
    // The menu runs a loop of its own: a timer inside it closes it again.
    bool opened = false;
    View()->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
        opened = true;
        event.Skip();
    });
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [](wxTimerEvent&) { wxUIActionSimulator().Char(WXK_ESCAPE); });
    timer.StartOnce(300);
    wxUIActionSimulator().MouseClick(wxMOUSE_BTN_RIGHT);
    EXPECT_TRUE(testpump::PumpUntil([&] { return opened; }));
    testpump::Pump(std::chrono::milliseconds(400));
    EXPECT_EQ(View()->GetSelectionMark(), 2);
}

// From the keyboard the menu opens at the marked row, wherever the pointer is.
TEST_F(ShellFrame, ShiftF10OpensTheContextMenuAtTheMarkedRow) {
    AddProfiles(3);
    View()->SetItemState(1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                         wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    View()->SetFocus();
    testpump::Pump();
    wxRect row;
    ASSERT_TRUE(View()->GetItemRect(1, row));
    const wxRect rowOnScreen(View()->ClientToScreen(row.GetPosition()), row.GetSize());
    // The pointer rests away from the row but over the frame: with no window manager
    // the keyboard follows the pointer.
    testpump::PointAt(View(), wxPoint(View()->GetSize().x - 10, View()->GetSize().y - 10));
    // Where the toolkit put the menu's window, asked once it is up.
    using Fn = void* (*)(void*);
    const auto toplevel = corvane::ToolkitSymbol<Fn>("gtk_widget_get_toplevel");
    const auto window = corvane::ToolkitSymbol<Fn>("gtk_widget_get_window");
    const auto origin = corvane::ToolkitSymbol<int (*)(void*, int*, int*)>("gdk_window_get_origin");
    wxMenu* opened = nullptr;
    View()->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
        opened = event.GetMenu();
        event.Skip();
    });
    wxPoint at(-1, -1);
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (opened)
            origin(window(toplevel(opened->m_menu)), &at.x, &at.y);
        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
    timer.StartOnce(400);
    wxUIActionSimulator().Char(WXK_F10, wxMOD_SHIFT);
    EXPECT_TRUE(testpump::PumpUntil([&] { return opened != nullptr; }));
    testpump::Pump(std::chrono::milliseconds(500));
    EXPECT_LE(std::abs(at.y - rowOnScreen.GetBottom()), row.height) << at.y << " vs row " << rowOnScreen.y;
    EXPECT_TRUE(rowOnScreen.GetLeft() <= at.x && at.x <= rowOnScreen.GetRight()) << at.x;
}

TEST_F(ShellFrame, StatusBarShowsTheButtonPromptWhileThePointerIsOverIt) {
    wxAuiToolBar* tb = m_pFrame->GetDockToolBar();
    auto moveTo = [&](const wxPoint& at) {
        wxMouseEvent motion(wxEVT_MOTION);
        motion.SetPosition(at);
        motion.SetEventObject(tb);
        tb->ProcessWindowEvent(motion);
    };
    const wxRect rect = tb->GetToolRect(ID_SETTINGS_PROXY);
    ASSERT_FALSE(rect.IsEmpty());
    moveTo(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
    EXPECT_EQ(m_pFrame->GetStatusBar()->GetStatusText(0), "Proxy Settings");
    wxMouseEvent leave(wxEVT_LEAVE_WINDOW);
    leave.SetEventObject(tb);
    tb->ProcessWindowEvent(leave);
    EXPECT_EQ(m_pFrame->GetStatusBar()->GetStatusText(0), "Ready");
}

TEST_F(ShellFrame, CapsLockIndicatorFollowsTheKey) {
    wxStatusBar* status = m_pFrame->GetStatusBar();
    const bool before = wxGetKeyState(WXK_CAPITAL);
    m_pFrame->UpdateKeyIndicators();
    EXPECT_EQ(status->GetStatusText(1), before ? "CAP" : "");
    wxUIActionSimulator sim;
    auto toggle = [&] {
        const bool from = wxGetKeyState(WXK_CAPITAL);
        sim.KeyDown(WXK_CAPITAL);
        sim.KeyUp(WXK_CAPITAL);
        testpump::PumpUntil([&] { return wxGetKeyState(WXK_CAPITAL) != from; },
                            std::chrono::milliseconds(500));
    };
    toggle();
    if (wxGetKeyState(WXK_CAPITAL) == before)
        GTEST_SKIP() << "the display does not toggle Caps Lock";
    m_pFrame->UpdateKeyIndicators();
    EXPECT_EQ(status->GetStatusText(1), before ? "" : "CAP");
    toggle();
    m_pFrame->UpdateKeyIndicators();
    EXPECT_EQ(status->GetStatusText(1), before ? "CAP" : "");
}
