// A folder with more entries than the component's 16-bit index reaches: the session hands
// on what it can and says the rest is missing, so `probe` and the browser never show a cut
// listing as a whole one.
#include "../common/RecordingFtp.h"

#include "platform/CRemoteFolderSession.h"

#include <gtest/gtest.h>

namespace {

TEST(ListingCut, TheSessionSaysWhatTheComponentCannotHandOn) {
    auto state = std::make_shared<testftp::FakeFtpState>();
    testftp::CRecordingFtpRegistration registration{state};
    state->folders["/many"] = std::vector<testftp::FakeEntry>(40000, {"d", 2});
    state->folders["/few"] = std::vector<testftp::FakeEntry>(32768, {"d", 2});
    CConnectionInfo connection;
    connection.m_strHost = "ftp.example.org";
    CRemoteFolderSession session;
    ASSERT_TRUE(session.Open(connection, {}, CRemoteFolderSession::ProxyRule::connectionTest));
    std::vector<CRemoteItem> items;
    const auto many = session.List("/many", items);
    ASSERT_TRUE(many);
    EXPECT_EQ(items.size(), 32768u);
    EXPECT_EQ(many.strWarning, "The folder has 40000 entries; only the first 32768 are shown.");
    const auto few = session.List("/few", items);
    EXPECT_EQ(items.size(), 32768u);
    EXPECT_EQ(few.strWarning, "");
}

} // namespace
