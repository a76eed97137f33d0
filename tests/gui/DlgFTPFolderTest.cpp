// The remote folder browser against a recording component: the initial walk,
// lazy expansion, failures in the status line and the proxy rule.
#include "../common/RemoteTestSupport.h"

#include "../common/MemoryStore.h"
#include "remote/CDlgFTPFolder.h"

#include <wx/statbmp.h>
#include <wx/stattext.h>

using namespace remotetest;
using namespace testftp;
using Calls = std::vector<std::string>;
using Texts = std::vector<wxString>;

namespace {

class DlgFTPFolderTest : public RemoteDialogTest {
protected:
    DlgFTPFolderTest() : RemoteDialogTest("files.example.org", 21, "anonymous", "guest") {
        m_state->folders["/"] = {{"pub", 2}, {"readme.txt", 1}, {"beta", 2}, {"Alpha", 2}};
        m_state->folders["/pub"] = {{"docs", 2}, {"data", 2}, {"index.html", 1}};
        m_state->folders["/pub/data"] = {{"deep", 2}, {"values.csv", 1}};
        m_state->folders["/pub/docs"] = {};
        m_state->folders["/pub/data/deep"] = {};
        m_state->folders["/Alpha"] = {{"only.txt", 1}};
        m_state->folders["/beta"] = {{"x", 2}};
        m_state->folders["/beta/x"] = {};
    }

    // Shows the browser and waits for its deferred start-up to run.
    std::unique_ptr<CDlgFTPFolder> Open(const std::string& path) {
        auto dlg = std::make_unique<CDlgFTPFolder>(nullptr, &m_doc);
        dlg->m_pConnection = &m_conn;
        dlg->m_strPath = path;
        dlg->Show();
        EXPECT_EQ(Status(dlg.get()), "Connecting ...");
        EXPECT_FALSE(dlg->FindWindow(wxID_OK)->IsEnabled());
        EXPECT_TRUE(PumpUntil([&] { return dlg->HasStarted(); }));
        return dlg;
    }

    static wxString Status(CDlgFTPFolder* dlg) {
        return dlg->FindWindow(CDlgFTPFolder::IDC_STATUS)->GetLabel();
    }
    static wxString Selected(CDlgFTPFolder* dlg) {
        return dlg->GetTree()->GetItemText(dlg->GetTree()->GetSelection());
    }

    CRecordingFtpRegistration m_reg{m_state};
};

// Paths that match nothing open at the root: letter case counts, backslashes are no
// separators, and "/" and "" name the root.
TEST_F(DlgFTPFolderTest, WalkOpensTheTreeAtTheInitialFolderOrElseAtTheRoot) {
    const std::pair<std::string, bool> cases[] = {
        {"/pub/data", true},   {"/pub/data/", true}, {"pub/data", true},
        {"//pub//data", true}, {"/Pub", false},      {"\\pub\\data", false},
        {"/", false},          {"", false},          {"/nothere/data", false}};
    for (const auto& [path, found] : cases) {
        SCOPED_TRACE(path);
        auto dlg = Open(path);
        wxTreeCtrl* tree = dlg->GetTree();
        EXPECT_EQ(Status(dlg.get()), "Connected to 'files.example.org'");
        EXPECT_TRUE(dlg->FindWindow(wxID_OK)->IsEnabled());
        const wxTreeItemId root = tree->GetRootItem();
        EXPECT_EQ(tree->GetItemText(root), "files.example.org");
        // Sorted as the tree sorts, letter case ignored; files never appear.
        EXPECT_EQ(ChildTexts(tree, root), (Texts{"Alpha", "beta", "pub"}));
        const wxTreeItemId pub = ChildNamed(tree, root, "pub");
        EXPECT_EQ(tree->IsExpanded(pub), found);
        // Folders off the path wait with one empty placeholder.
        EXPECT_EQ(ChildTexts(tree, pub), (found ? Texts{"data", "docs"} : Texts{""}));
        EXPECT_EQ(ChildTexts(tree, ChildNamed(tree, root, "beta")), Texts{""});
        EXPECT_EQ(Selected(dlg.get()), found ? "data" : "files.example.org");
        // The final folder holds its subfolders, no placeholder, and is not listed again.
        if (found) {
            EXPECT_EQ(ChildTexts(tree, ChildNamed(tree, pub, "data")), Texts{"deep"});
        }
        EXPECT_EQ(Chosen(dlg.get()), found ? "/pub/data" : "/");
    }
}

TEST_F(DlgFTPFolderTest, WalkListsOnlyThePathAndExpansionListsOnce) {
    auto dlg = Open("/pub");
    Calls cds;
    for (const std::string& c : m_state->Calls())
        if (c.rfind("call 16 ", 0) == 0 || c.rfind("call 44 ", 0) == 0)
            cds.push_back(c);
    EXPECT_EQ(cds,
              (Calls{"call 16 bstr '/'", "call 44 bstr '*'", "call 16 bstr '/pub/'", "call 44 bstr '*'"}));

    wxTreeCtrl* tree = dlg->GetTree();
    const wxTreeItemId beta = ChildNamed(tree, tree->GetRootItem(), "beta");
    m_state->ClearCalls();
    tree->Expand(beta);
    EXPECT_EQ(m_state->Calls().front(), "call 16 bstr '/beta'");
    EXPECT_EQ(ChildTexts(tree, beta), Texts{"x"});
    tree->Collapse(beta);
    m_state->ClearCalls();
    tree->Expand(beta);
    EXPECT_TRUE(m_state->Calls().empty()) << "a listed folder is not fetched again";
    tree->SelectItem(ChildNamed(tree, beta, "x"));
    EXPECT_EQ(Chosen(dlg.get()), "/beta/x");
    EXPECT_EQ(m_state->Calls().back(), "call 7") << "the session ends with the dialog";
}

// A listing that fails during the walk stops it where it got; one that fails on
// expansion marks the folder broken for good.
TEST_F(DlgFTPFolderTest, FailedListingsStopTheWalkAndMarkTheFolder) {
    m_state->failingFolders = {"/beta", "/pub/data"};
    auto dlg = Open("/pub/data/deep");
    EXPECT_EQ(Selected(dlg.get()), "data");
    EXPECT_EQ(Status(dlg.get()), "550 /pub/data: No such file or directory.");
    wxTreeCtrl* tree = dlg->GetTree();
    const wxTreeItemId beta = ChildNamed(tree, tree->GetRootItem(), "beta");
    EXPECT_EQ(tree->GetItemImage(beta), CDlgFTPFolder::imageFolder);
    tree->Expand(beta);
    EXPECT_EQ(tree->GetItemImage(beta), CDlgFTPFolder::imageFolderFailed);
    EXPECT_EQ(tree->GetItemImage(beta, wxTreeItemIcon_Selected), CDlgFTPFolder::imageFolderFailed);
    EXPECT_TRUE(ChildTexts(tree, beta).empty());
    EXPECT_EQ(Status(dlg.get()), "550 /beta: No such file or directory.");
    m_state->ClearCalls();
    tree->Collapse(beta);
    tree->Expand(beta);
    EXPECT_TRUE(m_state->Calls().empty());
    EXPECT_FALSE(dlg->FindWindow(CDlgFTPFolder::IDC_ERROR_PICTURE)->IsShown());
    EXPECT_EQ(Chosen(dlg.get()), "/pub/data");
}

TEST_F(DlgFTPFolderTest, FailedConnectionLeavesOnlyCancel) {
    // A UTF-8 server's words ("Вход запрещён.") read as it wrote them.
    m_state->failures[6] = "530 \xd0\x92\xd1\x85\xd0\xbe\xd0\xb4 "
                           "\xd0\xb7\xd0\xb0\xd0\xbf\xd1\x80\xd0\xb5\xd1\x89\xd1\x91\xd0\xbd.";
    m_conn.m_bUseProxy = true;
    m_doc.m_proxy.m_nType = 3;
    CMessageRecorder boxes;
    auto dlg = Open("/pub");
    EXPECT_EQ(Status(dlg.get()), wxString::FromUTF8(m_state->failures[6]));
    EXPECT_TRUE(dlg->FindWindow(CDlgFTPFolder::IDC_ERROR_PICTURE)->IsShown());
    EXPECT_FALSE(dlg->FindWindow(wxID_OK)->IsEnabled());
    EXPECT_FALSE(dlg->GetTree()->GetRootItem().IsOk());
    EXPECT_TRUE(boxes.boxes.empty()) << "the browser reports in its status line";
    // The project's proxy reaches the session.
    EXPECT_EQ(m_state->Calls().front(), "put 29 i4 4");
}

// The browser opens at its design size, can grow (for a folder with thousands of
// subfolders), and opens the next time at the size the operator gave it. There is no
// window manager under the test display to drag its edge, so the size is set as the
// drag would set it.
TEST_F(DlgFTPFolderTest, TheBrowserGrowsFromItsDesignSizeAndKeepsItsSize) {
    CMemoryStore store;
    m_doc.SetProfileStore(&store);
    CRecordingFtpRegistration reg(m_state);
    wxSize design;
    {
        CDlgFTPFolder dlg(nullptr, &m_doc);
        dlg.m_pConnection = &m_conn;
        design = dlg.GetSize();
        EXPECT_TRUE(dlg.HasFlag(wxRESIZE_BORDER));
        EXPECT_EQ(dlg.GetMinSize(), design);
        dlgtest::RunModal(dlg, [&] {
            ASSERT_TRUE(PumpUntil([&] { return dlg.HasStarted(); }));
            dlg.SetSize(design + wxSize(200, 300));
            Pump(std::chrono::milliseconds(200));
            testpump::RealClick(dlg.FindWindow(wxID_CANCEL));
        });
    }
    CDlgFTPFolder again(nullptr, &m_doc);
    EXPECT_EQ(again.GetSize(), design + wxSize(200, 300));
    m_doc.SetProfileStore(nullptr);
}

} // namespace
