// The folder browser against a real FTP server on loopback, through the FTP
// component and through the built-in client: names as the server's bytes, links.
#include "../common/LoopbackConnection.h"
#include "../common/RemoteFtpPeer.h"
#include "../common/RemoteTestSupport.h"

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
        m_conn = testpeer::LoopbackConnection(m_peer.Port(), GetParam());
    }

    std::unique_ptr<CDlgFTPFolder> OpenBrowser(const std::string& path) {
        auto dlg = std::make_unique<CDlgFTPFolder>(nullptr, &m_doc);
        dlg->m_pConnection = &m_conn;
        dlg->m_strPath = path;
        dlg->Show();
        EXPECT_TRUE(PumpUntil([&] { return dlg->HasStarted(); }));
        return dlg;
    }

    // Without MLSD the server's listing shows links as links.
    CFtpPeer m_peer{{"--tree", "--user", "alice:secret", "--no-mlsd"}};
    CCorvaneDoc m_doc;
    CConnectionInfo m_conn;
};

TEST_P(RemoteServerTest, PickedFoldersKeepTheServersBytesAndAreEnteredAgain) {
    const std::string privet = "/\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
    auto dlg = OpenBrowser("/");
    wxTreeCtrl* tree = dlg->GetTree();
    const wxTreeItemId root = tree->GetRootItem();
    // A UTF-8 name and a legacy one, each read as the operator reads it.
    EXPECT_TRUE(ChildNamed(tree, root,
                           wxString::FromUTF8("Stra\xC3\x9F"
                                              "e"))
                    .IsOk());
    const wxTreeItemId shown = ChildNamed(tree, root, wxString::FromUTF8(privet.substr(1)));
    ASSERT_TRUE(shown.IsOk());
    tree->SelectItem(shown);
    const std::string stored = Chosen(dlg.get());
    EXPECT_EQ(stored, privet);

    auto again = OpenBrowser(stored);
    EXPECT_EQ(again->GetTree()->GetItemText(again->GetTree()->GetSelection()),
              wxString::FromUTF8(privet.substr(1)));
    EXPECT_EQ(again->FindWindow(CDlgFTPFolder::IDC_STATUS)->GetLabel(), "Connected to '127.0.0.1'");
}

TEST_P(RemoteServerTest, LinksBrowseAsFoldersAndOneToAFileFailsWhenExpanded) {
    auto dlg = OpenBrowser("/");
    wxTreeCtrl* tree = dlg->GetTree();
    const wxTreeItemId publink = ChildNamed(tree, tree->GetRootItem(), "publink");
    const wxTreeItemId filelink = ChildNamed(tree, tree->GetRootItem(), "filelink");
    ASSERT_TRUE(publink.IsOk() && filelink.IsOk());
    EXPECT_EQ(ChildTexts(tree, filelink), Texts{""}) << "a link waits with a placeholder";
    tree->Expand(publink);
    EXPECT_EQ(ChildTexts(tree, publink), (Texts{"data", "docs"}));
    tree->Expand(filelink);
    EXPECT_EQ(tree->GetItemImage(filelink), CDlgFTPFolder::imageFolderFailed);
    EXPECT_NE(dlg->FindWindow(CDlgFTPFolder::IDC_STATUS)->GetLabel(), "Connected to '127.0.0.1'");
    tree->SelectItem(publink);
    EXPECT_EQ(Chosen(dlg.get()), "/publink");
}

INSTANTIATE_TEST_SUITE_P(Ways, RemoteServerTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BuiltInClient" : "Component"; });

} // namespace
