// The profile list: its cells, the stored widths, deletion, and the selection mark the
// profile commands act on.
#include "../common/RealClick.h"
#include "../common/ShellTestSupport.h"
#include "app/CommandIds.h"
#include "dialogs/CDlgMain.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>
#include <memory>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

using namespace shelltest;

namespace {

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

    // Deleting the last one leaves an empty list.
    m_doc.m_arrProfiles.resize(1);
    view->FillList();
    view->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxTEST_DIALOG(view->OnFoldersDelete(), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_TRUE(m_doc.m_arrProfiles.empty());
    EXPECT_EQ(view->GetItemCount(), 0);
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
