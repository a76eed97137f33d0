// The profile list: its columns and cells, the stored widths, deletion, and the
// selection mark the profile commands act on.
#include "DlgTestSupport.h"
#include "ShellTestSupport.h"
#include "app/CCorvaneView.h"
#include "dialogs/CDlgMain.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

using namespace shelltest;

namespace {

class ViewProfileList : public dlgtest::DialogTest {
protected:
    void SetUp() override {
        m_doc.OnNewDocument();
        m_pFrame = new wxFrame(nullptr, wxID_ANY, "view", wxDefaultPosition, wxSize(800, 500));
    }
    void TearDown() override { delete m_pFrame; }

    // A view inside the frame, sized as the frame's client area.
    CCorvaneView* MakeView() {
        auto* view = new CCorvaneView(m_pFrame, &m_doc, &m_store);
        view->SetSize(m_pFrame->GetClientSize());
        view->OnInitialUpdate();
        return view;
    }

    wxString Cell(CCorvaneView* view, long row, int column) { return view->GetItemText(row, column); }
    int Image(CCorvaneView* view, long row) {
        wxListItem item;
        item.SetId(row);
        item.SetMask(wxLIST_MASK_IMAGE);
        view->GetItem(item);
        return item.GetImage();
    }

    CMemoryStore m_store;
    CCorvaneDoc m_doc{&m_store};
    wxFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(ViewProfileList, RowsShowTheProfilesInDocumentOrder) {
    m_doc.m_arrProfiles.push_back(MakeProfile("zeta.example", true, true, false));
    m_doc.m_arrProfiles.push_back(MakeProfile("alpha.example", false, false, true));
    // Text beyond ASCII arrives as Windows-1252 bytes.
    m_doc.m_arrProfiles.back().m_strLocalFolder = "/home/j\xf6rg";
    // A folder picked on a server keeps the server's bytes, here UTF-8.
    m_doc.m_arrProfiles.back().m_strFtpFolder = "/\xD0\x94\xD0\xBE\xD0\xBA";
    CCorvaneView* view = MakeView();

    ASSERT_EQ(view->GetColumnCount(), 5);
    const char* titles[] = {" FTP Host", " FTP Path", " Path", " Download", " Upload"};
    for (int c = 0; c < 5; ++c) {
        wxListItem col;
        col.SetMask(wxLIST_MASK_TEXT);
        view->GetColumn(c, col);
        EXPECT_EQ(col.GetText(), titles[c]);
    }
    ASSERT_EQ(view->GetItemCount(), 2);
    // Never sorted: the document's order stands (ShellFrameTest checks every cell).
    EXPECT_EQ(Cell(view, 0, 0), "zeta.example");
    EXPECT_EQ(Cell(view, 1, 1), wxString::FromUTF8("/\xD0\x94\xD0\xBE\xD0\xBA"));
    EXPECT_EQ(Cell(view, 1, 2), wxString::FromUTF8("/home/j\xc3\xb6rg"));
    EXPECT_EQ(Image(view, 0), IMG_PROFILE_ENABLED);
    EXPECT_EQ(Image(view, 1), IMG_PROFILE_DISABLED);
    EXPECT_NE(view->GetImageList(wxIMAGE_LIST_SMALL), nullptr);
    // The large pictures are drawn when the icon style first needs them.
    view->SetViewType(wxLC_ICON);
    EXPECT_NE(view->GetImageList(wxIMAGE_LIST_NORMAL), nullptr);

    // An edited row takes its icon from the enabled flag.
    m_doc.m_arrProfiles[0].m_bEnabled = false;
    view->UpdateRow(0);
    EXPECT_EQ(Image(view, 0), IMG_PROFILE_DISABLED);
}

TEST_F(ViewProfileList, WidthsComeBackFromTheStoreAndZeroCountsAsMissing) {
    m_store.WriteProfileInt("View", "w0", 140);
    m_store.WriteProfileInt("View", "w1", 0);
    m_store.WriteProfileInt("View", "w3", 77);
    CCorvaneView* view = MakeView();
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
    view->Destroy();
    delete m_pFrame;
    m_pFrame = nullptr;
    EXPECT_EQ(m_store.GetProfileInt("View", "w0", -1), 140);
    EXPECT_EQ(m_store.GetProfileInt("View", "w1", -1), share);
    EXPECT_EQ(m_store.GetProfileInt("View", "w2", -1), 210);
    EXPECT_EQ(m_store.GetProfileInt("View", "w3", -1), 77);
}

TEST_F(ViewProfileList, DeleteAsksAndActsOnTheRowAtTheSelectionMark) {
    for (const char* host : {"a", "b", "c"})
        m_doc.m_arrProfiles.push_back(MakeProfile(host));
    CCorvaneView* view = MakeView();

    // Nothing marked: no question, nothing removed.
    view->OnFoldersDelete();
    EXPECT_EQ(m_doc.m_arrProfiles.size(), 3u);

    view->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    view->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    ASSERT_EQ(view->GetSelectionMark(), 1);
    wxTEST_DIALOG(view->OnFoldersDelete(),
                  dlgtest::CExpectMessage(wxID_NO, "Are you sure that want delete this profile?",
                                          "Question ?", wxICON_QUESTION));
    EXPECT_EQ(m_doc.m_arrProfiles.size(), 3u);
    EXPECT_FALSE(m_doc.IsModified());

    // Yes removes only the marked row, though two are selected.
    wxTEST_DIALOG(view->OnFoldersDelete(), wxExpectModal<wxMessageDialog>(wxID_YES));
    ASSERT_EQ(m_doc.m_arrProfiles.size(), 2u);
    EXPECT_EQ(m_doc.m_arrProfiles[0].m_strConnection, "a");
    EXPECT_EQ(m_doc.m_arrProfiles[1].m_strConnection, "c");
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(view->GetItemCount(), 2);
    EXPECT_EQ(view->GetSelectionMark(), -1);

    // Deleting the last one leaves an empty list.
    m_doc.m_arrProfiles.resize(1);
    view->FillList();
    view->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxTEST_DIALOG(view->OnFoldersDelete(), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_TRUE(m_doc.m_arrProfiles.empty());
    EXPECT_EQ(view->GetItemCount(), 0);
}

TEST_F(ViewProfileList, NewProfileIsAppendedOnlyOnOkWithTheIconOfItsEnabledFlag) {
    m_doc.m_arrConnections.emplace_back();
    m_doc.m_arrConnections.back().m_strHost = "ftp.halden.example";
    m_doc.m_arrProfiles.push_back(MakeProfile("first"));
    CCorvaneView* view = MakeView();
    {
        dlgtest::CDriveNested<CDlgMain> cancel([](CDlgMain* dlg) { dlg->EndModal(wxID_CANCEL); });
        view->OnFoldersNew();
        EXPECT_EQ(cancel.m_nRuns, 1);
    }
    EXPECT_EQ(m_doc.m_arrProfiles.size(), 1u);
    EXPECT_EQ(view->GetItemCount(), 1);
    EXPECT_FALSE(m_doc.IsModified());

    dlgtest::CDriveNested<CDlgMain> editor([](CDlgMain* dlg) {
        dlgtest::SetCheck(dlg, CDlgMain::kIdEnabled, false);
        dlgtest::Click(dlg, wxID_OK);
    });
    view->OnFoldersNew();
    ASSERT_EQ(m_doc.m_arrProfiles.size(), 2u);
    EXPECT_FALSE(m_doc.m_arrProfiles[1].m_bEnabled);
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_EQ(view->GetItemCount(), 2);
    EXPECT_EQ(Cell(view, 1, 0), "ftp.halden.example");
    EXPECT_EQ(Image(view, 1), IMG_PROFILE_DISABLED);
}

TEST_F(ViewProfileList, DoubleClickEditsTheMarkedRowWhereverThePointerIs) {
    m_doc.m_arrConnections.emplace_back();
    m_doc.m_arrConnections.back().m_strHost = "host1";
    m_doc.m_arrProfiles.push_back(MakeProfile("host0"));
    m_doc.m_arrProfiles.push_back(MakeProfile("host1", true, true, false));
    CCorvaneView* view = MakeView();
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
    EXPECT_EQ(Cell(view, 1, 3), "No");
    EXPECT_EQ(Cell(view, 1, 4), "Yes");
    EXPECT_EQ(Cell(view, 0, 3), "Yes");
}
