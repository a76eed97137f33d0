// The folder browser against a scripted server whose listing has a line in no known format:
// the folders it could read are shown and the status line says what was left out.
#include "../common/PeerProcess.h"
#include "../common/RemoteTestSupport.h"

#include "model/CCorvaneDoc.h"
#include "platform/StandardComponents.h"
#include "remote/CDlgFTPFolder.h"

#include <filesystem>

using namespace remotetest;

namespace {

TEST(RemoteListingWarning, TheStatusLineSaysWhichLinesWereNotRead) {
    corvane::RegisterStandardComponents();
    const std::string script = (std::filesystem::path(CORVANE_FIXTURES_DIR) / "fault_server.py").string();
    testpeer::CPeerProcess peer({script, "list", "unix"});
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    CCorvaneDoc doc;
    CConnectionInfo connection;
    connection.m_strHost = "127.0.0.1";
    connection.m_nPort = peer.Port();
    connection.m_bPassive = true;
    auto dlg = std::make_unique<CDlgFTPFolder>(nullptr, &doc);
    dlg->m_pConnection = &connection;
    dlg->m_strPath = "/";
    dlg->Show();
    ASSERT_TRUE(PumpUntil([&] { return dlg->HasStarted(); }));
    EXPECT_TRUE(ChildNamed(dlg->GetTree(), dlg->GetTree()->GetRootItem(), "no group dir").IsOk());
    // The label is wrapped to the line's width; its tooltip holds the whole text.
    EXPECT_EQ(dlg->FindWindow(CDlgFTPFolder::IDC_STATUS)->GetToolTipText(),
              "/: 1 line of the listing could not be read and is not shown (the first: \"this line is no "
              "entry at all\").");
}

} // namespace
