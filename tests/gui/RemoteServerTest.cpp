// Both remote dialogs against a real FTP server on loopback, through the FTP
// component and through the built-in client.
#include "RemoteFtpPeer.h"
#include "RemoteTestSupport.h"

#include "model/CCorvaneDoc.h"
#include "platform/NetTimeouts.h"
#include "platform/StandardComponents.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"

#include <filesystem>

using namespace remotetest;
using Texts = std::vector<wxString>;

namespace {

class RemoteServerTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        corvane::RegisterStandardComponents();
        ASSERT_TRUE(m_peer.IsUp()) << "the fixture FTP server did not start";
        m_conn.m_strHost = "127.0.0.1";
        m_conn.m_nPort = m_peer.Port();
        m_conn.m_strUser = "alice";
        m_conn.m_strPassword = "secret";
        m_conn.m_bPassive = true;
        m_conn.m_bUseWinInet = GetParam();
    }

    std::unique_ptr<CDlgFTP> OpenTest() {
        auto dlg = std::make_unique<CDlgFTP>(nullptr, &m_doc);
        dlg->m_pConnection = &m_conn;
        dlg->Show();
        return dlg;
    }

    std::unique_ptr<CDlgFTPFolder> OpenBrowser(const std::string& path) {
        auto dlg = std::make_unique<CDlgFTPFolder>(nullptr, &m_doc);
        dlg->m_pConnection = &m_conn;
        dlg->m_strPath = path;
        dlg->Show();
        EXPECT_TRUE(PumpUntil([&] { return dlg->HasStarted(); }));
        return dlg;
    }

    CFtpPeer m_peer{{"--tree", "--user", "alice:secret"}};
    CCorvaneDoc m_doc;
    CConnectionInfo m_conn;
};

TEST_P(RemoteServerTest, ConnectTurnsIntoDisconnectAndBack) {
    CMessageRecorder boxes;
    auto dlg = OpenTest();
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Disconnect");
    EXPECT_TRUE(dlg->IsConnected());
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Connect");
    // Active mode as well.
    Toggle(dlg.get(), CDlgFTP::IDC_PASSIVE, false);
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Disconnect");
    for (const SeenBox& box : boxes.boxes)
        ADD_FAILURE() << "unexpected box: " << box.message.utf8_str();
}

TEST_P(RemoteServerTest, FailedConnectKeepsConnectAndReportsAfterThePopup) {
    CMessageRecorder boxes;
    auto dlg = OpenTest();
    Find<wxTextCtrl>(dlg.get(), CDlgFTP::IDC_PASSWORD)->SetValue("wrong");
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(boxes.boxes[0].popupsVisible, 0);
    EXPECT_FALSE(boxes.boxes[0].message.empty());
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Connect");

    // Nobody listens on the port any more.
    {
        CFtpPeer other{{}};
        Find<wxTextCtrl>(dlg.get(), CDlgFTP::IDC_PORT)->SetValue(wxString::Format("%d", other.Port()));
    }
    Find<wxTextCtrl>(dlg.get(), CDlgFTP::IDC_PASSWORD)->SetValue("secret");
    Click(dlg.get(), CDlgFTP::IDC_CONNECT);
    EXPECT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(LabelOf(dlg.get(), CDlgFTP::IDC_CONNECT), "Connect");
}

TEST_P(RemoteServerTest, BrowserWalksToTheInitialFolder) {
    CMessageRecorder boxes;
    auto dlg = OpenBrowser("/pub/data");
    wxTreeCtrl* tree = dlg->GetTree();
    EXPECT_EQ(dlg->FindWindow(CDlgFTPFolder::IDC_STATUS)->GetLabel(), "Connected to '127.0.0.1'");
    const wxTreeItemId root = tree->GetRootItem();
    const Texts rootFolders = ChildTexts(tree, root);
    for (const wxString name : {"pub", "empty", "folder with spaces", "trailing space "})
        EXPECT_NE(std::find(rootFolders.begin(), rootFolders.end(), name), rootFolders.end()) << name;
    EXPECT_EQ(std::find(rootFolders.begin(), rootFolders.end(), "file at root.txt"), rootFolders.end());
    const wxTreeItemId pub = ChildNamed(tree, root, "pub");
    EXPECT_TRUE(tree->IsExpanded(pub));
    EXPECT_EQ(ChildTexts(tree, pub), (Texts{"data", "docs"}));
    EXPECT_EQ(tree->GetItemText(tree->GetSelection()), "data");
    EXPECT_EQ(ChildTexts(tree, tree->GetSelection()), Texts{"deep"});
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_P(RemoteServerTest, BrowserStopsAtTheRootForAnotherLetterCase) {
    auto dlg = OpenBrowser("/Pub");
    wxTreeCtrl* tree = dlg->GetTree();
    EXPECT_EQ(tree->GetSelection(), tree->GetRootItem());
    EXPECT_TRUE(ChildNamed(tree, tree->GetRootItem(), "pub").IsOk());
    EXPECT_EQ(ChildTexts(tree, ChildNamed(tree, tree->GetRootItem(), "pub")), Texts{""});
}

TEST_P(RemoteServerTest, FolderGoneBeforeItsExpansion) {
    auto dlg = OpenBrowser("/");
    wxTreeCtrl* tree = dlg->GetTree();
    const wxTreeItemId empty = ChildNamed(tree, tree->GetRootItem(), "empty");
    ASSERT_TRUE(empty.IsOk());
    std::filesystem::remove(m_peer.Root() / "empty");
    tree->Expand(empty);
    EXPECT_TRUE(ChildTexts(tree, empty).empty());
    if (!GetParam()) {
        // The component reports it; the built-in client lists such a folder as empty.
        EXPECT_EQ(tree->GetItemImage(empty), CDlgFTPFolder::imageFolderFailed);
        EXPECT_NE(dlg->FindWindow(CDlgFTPFolder::IDC_STATUS)->GetLabel(), "Connected to '127.0.0.1'");
    } else {
        EXPECT_EQ(tree->GetItemImage(empty), CDlgFTPFolder::imageFolder);
    }
}

// Misbehaving servers from the fixtures end in an error like any other failure.
TEST(RemoteFaultyServer, HungServerEndsInAnErrorWithinTheTimeout) {
    corvane::RegisterStandardComponents();
    const corvane::NetTimeouts saved = corvane::GetNetTimeouts();
    corvane::SetNetTimeouts({std::chrono::milliseconds(1000), std::chrono::milliseconds(1000)});
    CFtpPeer hung({"hang"}, "fault_server.py");
    ASSERT_TRUE(hung.IsUp());
    CCorvaneDoc doc;
    CConnectionInfo conn;
    conn.m_nPort = hung.Port();
    CMessageRecorder boxes;
    for (const bool builtIn : {false, true}) {
        conn.m_bUseWinInet = builtIn;
        CDlgFTP dlg(nullptr, &doc);
        dlg.m_pConnection = &conn;
        dlg.Show();
        const auto start = std::chrono::steady_clock::now();
        Click(&dlg, CDlgFTP::IDC_CONNECT);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
        EXPECT_EQ(LabelOf(&dlg, CDlgFTP::IDC_CONNECT), "Connect");
    }
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].popupsVisible, 0);
    corvane::SetNetTimeouts(saved);
}

TEST(RemoteFaultyServer, DroppedListingEndsTheWalkAtTheRoot) {
    corvane::RegisterStandardComponents();
    CFtpPeer dropping({"drop"}, "fault_server.py");
    ASSERT_TRUE(dropping.IsUp());
    CCorvaneDoc doc;
    CConnectionInfo conn;
    conn.m_nPort = dropping.Port();
    conn.m_bPassive = true;
    CDlgFTPFolder dlg(nullptr, &doc);
    dlg.m_pConnection = &conn;
    dlg.m_strPath = "/pub";
    dlg.Show();
    ASSERT_TRUE(PumpUntil([&] { return dlg.HasStarted(); }));
    wxTreeCtrl* tree = dlg.GetTree();
    EXPECT_EQ(tree->GetSelection(), tree->GetRootItem());
    EXPECT_TRUE(ChildTexts(tree, tree->GetRootItem()).empty());
    EXPECT_NE(dlg.FindWindow(CDlgFTPFolder::IDC_STATUS)->GetLabel(), "Connected to '127.0.0.1'");
    EXPECT_TRUE(dlg.FindWindow(wxID_OK)->IsEnabled());
}

INSTANTIATE_TEST_SUITE_P(Ways, RemoteServerTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BuiltInClient" : "Component"; });

} // namespace
