// The folder browser against a real FTP server on loopback, through the FTP
// component and through the built-in client.
#include "RemoteFtpPeer.h"
#include "RemoteTestSupport.h"

#include "model/CCorvaneDoc.h"
#include "platform/StandardComponents.h"
#include "remote/CDlgFTPFolder.h"

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

INSTANTIATE_TEST_SUITE_P(Ways, RemoteServerTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BuiltInClient" : "Component"; });

} // namespace
