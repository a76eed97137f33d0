// The main window's menus, toolbar, status bar and the enabling it decides; its profile
// list: the cells, the stored widths, deletion, and the selection mark the commands act on.
#include "../common/ShellTestSupport.h"
#include "app/CommandIds.h"
#include "controls/ToolkitSymbol.h"
#include "dialogs/CDlgMain.h"
#include "resources/ResourceIds.h"

#include <memory>
#include <vector>
#include <wx/aui/auibar.h>
#include <wx/frame.h>
#include <wx/statusbr.h>

using namespace shelltest;

namespace {

class ShellFrame : public FrameTest {
protected:
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

    // Opens the context menu with `trigger`; a timer inside the menu's own loop runs
    // `whileOpen` and closes it again. Whether the menu opened.
    bool WithContextMenu(const std::function<void()>& trigger, const std::function<void()>& whileOpen = {}) {
        View()->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
            m_pOpened = event.GetMenu();
            event.Skip();
        });
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (m_pOpened && whileOpen)
                whileOpen();
            wxUIActionSimulator().Char(WXK_ESCAPE);
        });
        timer.StartOnce(400);
        trigger();
        const bool opened = testpump::PumpUntil([this] { return m_pOpened != nullptr; });
        testpump::Pump(std::chrono::milliseconds(500));
        return opened;
    }

    wxMenu* m_pOpened = nullptr;
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

class ViewProfileList : public FrameTest {
protected:
    wxString Cell(long row, int column) { return View()->GetItemText(row, column); }
    int Image(long row) {
        wxListItem item;
        item.SetId(row);
        item.SetMask(wxLIST_MASK_IMAGE);
        View()->GetItem(item);
        return item.GetImage();
    }
};

} // namespace

// Every button shows a picture of its own, the one its menu item carries, and offers
// a tip and a status prompt.
TEST_F(ShellFrame, ToolbarButtonsShowTheirMenuItemsPictureWithTipsAndPromptsInTheStatusBar) {
    wxAuiToolBar* tb = m_pFrame->GetDockToolBar();
    wxMenuBar* bar = m_pFrame->GetMenuBar();
    std::vector<std::string> pictures;
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
        if (const wxMenuItem* item = bar->FindItem(tool->GetId())) {
            EXPECT_EQ(Pixels(item->GetBitmapBundle()), picture);
        }
    }
    // The bar can be dragged off and docked on any side.
    wxAuiPaneInfo& pane = m_pFrame->GetDockManager().GetPane(tb);
    EXPECT_TRUE(pane.IsFloatable() && pane.IsLeftDockable() && pane.IsBottomDockable());
    wxStatusBar* status = m_pFrame->GetStatusBar();
    // Each indicator pane is wide enough for its text.
    EXPECT_GE(status->GetStatusWidth(3), status->GetTextExtent("SCRL").x);

    // The status bar shows a button's prompt while the pointer is over it.
    const wxRect rect = tb->GetToolRect(ID_SETTINGS_PROXY);
    ASSERT_FALSE(rect.IsEmpty());
    wxMouseEvent motion(wxEVT_MOTION);
    motion.SetPosition(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
    motion.SetEventObject(tb);
    tb->ProcessWindowEvent(motion);
    EXPECT_EQ(status->GetStatusText(0), "Edit the proxy settings");
    wxMouseEvent leave(wxEVT_LEAVE_WINDOW);
    leave.SetEventObject(tb);
    tb->ProcessWindowEvent(leave);
    EXPECT_EQ(status->GetStatusText(0), "Ready");
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
    {
        // Cancel in the editor adds nothing.
        dlgtest::CDriveNested<CDlgMain> cancel([](CDlgMain* dlg) { dlg->EndModal(wxID_CANCEL); });
        Command(ID_FOLDERS_NEW);
        EXPECT_EQ(cancel.m_nRuns, 1);
    }
    EXPECT_EQ(View()->GetItemCount(), 2);
    EXPECT_FALSE(m_doc.IsModified());
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
    }
    // Folders > New reached the view through the frame every time.
    EXPECT_EQ(editor.m_nRuns, 4);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(ShellFrame, ViewMenuTogglesToolbarAndStatusBar) {
    const std::pair<int, std::function<bool()>> bars[] = {
        {ID_VIEW_TOOLBAR, [&] { return m_pFrame->IsToolBarShown(); }},
        {ID_VIEW_STATUS_BAR, [&] { return m_pFrame->GetStatusBar()->IsShown(); }}};
    for (const auto& [id, shown] : bars)
        for (const bool expected : {false, true}) {
            Command(id);
            EXPECT_EQ(shown(), expected) << id;
            EXPECT_EQ(Query(id).checked, expected) << id;
        }
}

// A right click through the display marks the row under the pointer and opens the
// context menu there, so that its commands act on that row.
TEST_F(ShellFrame, RightClickMarksTheRowUnderThePointerAndOpensTheContextMenu) {
    AddProfiles(3);
    testpump::Pump();
    wxRect row;
    ASSERT_TRUE(View()->GetItemRect(2, row));
    testpump::PointAt(View(), testpump::MiddleOf(View(), wxRect(row.x, row.y, 80, row.height)));
    EXPECT_TRUE(WithContextMenu([] { wxUIActionSimulator().MouseClick(wxMOUSE_BTN_RIGHT); }));
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
    wxPoint at(-1, -1);
    EXPECT_TRUE(WithContextMenu([] { wxUIActionSimulator().Char(WXK_F10, wxMOD_SHIFT); },
                                [&] { origin(window(toplevel(m_pOpened->m_menu)), &at.x, &at.y); }));
    EXPECT_LE(std::abs(at.y - rowOnScreen.GetBottom()), row.height) << at.y << " vs row " << rowOnScreen.y;
    EXPECT_TRUE(rowOnScreen.GetLeft() <= at.x && at.x <= rowOnScreen.GetRight()) << at.x;
}

// Shrunk as far as the window manager lets it, the window keeps its whole toolbar and
// the first row of the list in view (there is no window manager under the test
// display: the size is set to the least it allows, as a drag would).
TEST_F(ShellFrame, ShrunkAsFarAsItGoesTheWindowKeepsItsToolbarAndOneRow) {
    AddProfiles(3);
    testpump::Pump();
    ASSERT_TRUE(m_pFrame->GetMinSize().IsFullySpecified()) << "the window can shrink to nothing";
    m_pFrame->SetSize(m_pFrame->GetMinSize());
    testpump::Pump();
    wxAuiToolBar* tb = m_pFrame->GetDockToolBar();
    EXPECT_GE(tb->GetSize().x, tb->GetBestSize().x);
    EXPECT_GE(tb->GetSize().y, tb->GetBestSize().y);
    wxRect row;
    ASSERT_TRUE(View()->GetItemRect(0, row));
    EXPECT_LE(row.GetBottom(), View()->GetClientSize().y) << "the first row is cut off";
    EXPECT_GT(row.height, 0);
}

TEST_F(ViewProfileList, RowsShowTheProfilesInDocumentOrder) {
    m_doc.m_arrProfiles.push_back(MakeProfile("zeta.example"));
    m_doc.m_arrProfiles.push_back(MakeProfile("alpha.example", false));
    // Text beyond ASCII arrives as Windows-1252 bytes.
    m_doc.m_arrProfiles.back().m_strLocalFolder = "/home/j\xf6rg";
    // A folder picked on a server keeps the server's bytes, here UTF-8.
    m_doc.m_arrProfiles.back().m_strFtpFolder = "/\xD0\x94\xD0\xBE\xD0\xBA";
    CCorvaneView* view = View();
    view->FillList();
    ASSERT_EQ(view->GetItemCount(), 2);
    // Never sorted: the document's order stands (ShellFrameTest checks every cell).
    EXPECT_EQ(Cell(1, 1), wxString::FromUTF8("/\xD0\x94\xD0\xBE\xD0\xBA"));
    EXPECT_EQ(Cell(1, 2), wxString::FromUTF8("/home/j\xc3\xb6rg"));
    EXPECT_EQ(Image(0), IMG_PROFILE_ENABLED);
    EXPECT_EQ(Image(1), IMG_PROFILE_DISABLED);
    EXPECT_NE(view->GetImageList(wxIMAGE_LIST_SMALL), nullptr);
    // The large pictures are drawn when the icon style first needs them.
    view->SetViewType(wxLC_ICON);
    EXPECT_NE(view->GetImageList(wxIMAGE_LIST_NORMAL), nullptr);

    // An edited row takes its icon from the enabled flag.
    m_doc.m_arrProfiles[0].m_bEnabled = false;
    view->UpdateRow(0);
    EXPECT_EQ(Image(0), IMG_PROFILE_DISABLED);
}

TEST_F(ViewProfileList, WidthsComeBackFromTheStoreAndZeroCountsAsMissing) {
    m_store.WriteProfileInt("View", "w0", 140);
    m_store.WriteProfileInt("View", "w1", 0);
    m_store.WriteProfileInt("View", "w3", 77);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "view", wxDefaultPosition, wxSize(800, 500));
    auto* view = new CCorvaneView(frame, &m_doc, &m_store);
    view->SetSize(frame->GetClientSize());
    view->OnInitialUpdate();
    const int share = static_cast<int>(view->GetClientSize().x * 0.95) / 5;
    ASSERT_GT(share, 0);
    EXPECT_EQ(view->GetColumnWidth(0), 140);
    EXPECT_EQ(view->GetColumnWidth(1), share);
    EXPECT_EQ(view->GetColumnWidth(2), share);
    EXPECT_EQ(view->GetColumnWidth(3), 77);
    EXPECT_EQ(view->GetColumnWidth(4), share);

    // A dragged width survives another project and is written when the view goes.
    view->SetColumnWidth(2, 210);
    view->OnInitialUpdate();
    EXPECT_EQ(view->GetColumnWidth(2), 210);
    delete frame;
    EXPECT_EQ(m_store.GetProfileInt("View", "w0", -1), 140);
    EXPECT_EQ(m_store.GetProfileInt("View", "w1", -1), share);
    EXPECT_EQ(m_store.GetProfileInt("View", "w2", -1), 210);
    EXPECT_EQ(m_store.GetProfileInt("View", "w3", -1), 77);
}

// Edit and Delete, in the menu bar and the context menu, follow the selection mark;
// Delete asks first and acts on the row at the mark alone.
TEST_F(ViewProfileList, EditAndDeleteFollowTheSelectionMarkAndDeleteActsOnThatRow) {
    CCorvaneView* view = View();
    wxMenuBar* bar = m_pFrame->GetMenuBar();
    auto enabled = [&](bool expected) {
        bar->UpdateMenus();
        std::unique_ptr<wxMenu> context(view->CreateContextMenu());
        ASSERT_NE(context, nullptr);
        for (wxMenu* menu : {bar->GetMenu(2), context.get()}) {
            EXPECT_TRUE(MenuItemEnabled(menu, ID_FOLDERS_NEW));
            EXPECT_EQ(MenuItemEnabled(menu, ID_FOLDERS_EDIT), expected);
            EXPECT_EQ(MenuItemEnabled(menu, ID_FOLDERS_DELETE), expected);
        }
    };
    enabled(false);
    AddProfiles(3);
    enabled(false);
    // Nothing marked: no question, nothing removed.
    view->OnFoldersDelete();
    EXPECT_EQ(m_doc.m_arrProfiles.size(), 3u);

    view->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    view->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    ASSERT_EQ(view->GetSelectionMark(), 1);
    // Clearing the selection keeps the mark, as the list control does.
    view->SetItemState(1, 0, wxLIST_STATE_SELECTED);
    enabled(true);
    // Yes (No is the keys' test below) removes only the marked row, though another one is
    // selected.
    wxTEST_DIALOG(view->OnFoldersDelete(), wxExpectModal<wxMessageDialog>(wxID_YES));
    ASSERT_EQ(m_doc.m_arrProfiles.size(), 2u);
    EXPECT_EQ(m_doc.m_arrProfiles[0].m_strConnection, "host0");
    EXPECT_EQ(m_doc.m_arrProfiles[1].m_strConnection, "host2");
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(view->GetItemCount(), 2);
    EXPECT_EQ(view->GetSelectionMark(), -1);
    enabled(false);
}

TEST_F(ViewProfileList, DoubleClickEditsTheMarkedRowWhereverThePointerIs) {
    m_doc.m_arrConnections.emplace_back();
    m_doc.m_arrConnections.back().m_strHost = "host1";
    AddProfiles(2);
    CCorvaneView* view = View();
    wxWindow* rows = view->GetChildren().front();
    auto doubleClick = [&] {
        // Far below the last row.
        wxMouseEvent click(wxEVT_LEFT_DCLICK);
        click.SetPosition(wxPoint(5, view->GetClientSize().y - 5));
        click.SetEventObject(rows);
        rows->ProcessWindowEvent(click);
    };
    dlgtest::CDriveNested<CDlgMain> editor([](CDlgMain* dlg) {
        dlgtest::SetCheck(dlg, CDlgMain::kIdDownload, false);
        dlgtest::SetCheck(dlg, CDlgMain::kIdUpload, true);
        dlgtest::Click(dlg, wxID_OK);
    });
    // Nothing is marked: no editor opens.
    doubleClick();
    EXPECT_EQ(editor.m_nRuns, 0);

    view->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    view->SetItemState(1, 0, wxLIST_STATE_SELECTED);
    doubleClick();
    EXPECT_EQ(editor.m_nRuns, 1);
    EXPECT_EQ(Cell(1, 3), "No");
    EXPECT_EQ(Cell(1, 4), "Yes");
    EXPECT_EQ(Cell(0, 3), "Yes");
}

// Keys on a row run the menu's commands: Enter opens the row's editor, Delete asks
// before deleting.
TEST_F(ViewProfileList, EnterOpensTheRowsEditorAndDeleteAsksFirst) {
    AddProfiles(3);
    testpump::Pump();
    wxRect row;
    ASSERT_TRUE(View()->GetItemRect(1, row));
    testpump::RealClick(View(), testpump::MiddleOf(View(), wxRect(row.x, row.y, 80, row.height)));
    ASSERT_EQ(View()->GetSelectionMark(), 1);
    wxUIActionSimulator sim;
    wxString edited;
    wxTEST_DIALOG(
        {
            sim.Char(WXK_RETURN);
            testpump::Pump();
        },
        dlgtest::CExpectDialog<CDlgMain>([&](CDlgMain* dlg) {
            edited = dlgtest::Ctrl<wxTextCtrl>(dlg, CDlgMain::kIdLocalFolder)->GetValue();
            return wxID_CANCEL;
        }));
    EXPECT_EQ(edited, "/home/operator/host1");
    for (const int answer : {wxID_NO, wxID_YES}) {
        wxTEST_DIALOG(
            {
                sim.Char(WXK_DELETE);
                testpump::Pump();
            },
            dlgtest::CExpectMessage(answer, "Are you sure you want to delete this profile?", "Question",
                                    wxICON_QUESTION));
    }
    ASSERT_EQ(m_doc.m_arrProfiles.size(), 2u);
    EXPECT_EQ(m_doc.m_arrProfiles[1].m_strConnection, "host2");
}
