// Listings in other formats through the whole session path, both clients and `corvane-dix
// probe`: a German-locale server shows every folder, names are never masked, and lines that
// cannot be read are said (warning, transcript), never dropped in silence.
#include "../common/RunDix.h"
#include "../common/TempDir.h"
#include "FtpPeers.h"

#include "model/CCorvaneDoc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ftptest;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr const char* kUnreadable = "1 line of the listing could not be read and is not shown "
                                    "(the first: \"this line is no entry at all\").";

class ListingFormats : public FtpWays {};

TEST_P(ListingFormats, GermanLocaleShowsEveryFolderAndUnreadableLinesAreSaid) {
    CPeer german(Peer("fault_server.py", {"list", "german"}));
    CPeer odd(Peer("fault_server.py", {"list", "unix"}));
    ASSERT_TRUE(german.Ok() && odd.Ok()) << german.Error() << odd.Error();
    CRemoteFolderSession probe;
    ASSERT_EQ(OpenError(probe, LoopbackConnection(german.Port(), BuiltIn())), "");
    std::vector<CRemoteItem> items;
    const auto listed = probe.List("/", items);
    ASSERT_TRUE(listed) << listed.strError;
    EXPECT_THAT(FolderNames(items), ElementsAre("Berichte", "Weihnachten", "pub", "Archiv", "Sommer"));
    EXPECT_EQ(listed.strWarning, "");

    CRemoteFolderSession other;
    ASSERT_EQ(OpenError(other, LoopbackConnection(odd.Port(), BuiltIn())), "");
    const auto withOdd = other.List("/", items);
    ASSERT_TRUE(withOdd) << withOdd.strError;
    EXPECT_THAT(FolderNames(items), Contains("no group dir"));
    EXPECT_EQ(withOdd.strWarning, kUnreadable);
    if (!BuiltIn()) {
        EXPECT_THAT(ComponentSession(other).GetCommandLog(), Contains(std::string("(") + kUnreadable + ")"));
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, ListingFormats, ::testing::Bool(),
                         [](const auto& info) { return WayName(info.param); });

DixRun Probe(const CConnectionInfo& connection, const TempDir& dir) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    doc.m_arrConnections = {connection};
    const std::string file = dir / "p.dix";
    std::string error;
    EXPECT_TRUE(doc.OnSaveDocument(file, error)) << error;
    CEnvOverride noFtpProxy("ftp_proxy", ""), noAllProxy("all_proxy", "");
    return RunDix("probe " + file);
}

TEST(ListingFormatsProbe, NamesStayWholeAndUnreadableLinesWarn) {
    CPeer german(Peer("fault_server.py", {"list", "german"}));
    CPeer odd(Peer("fault_server.py", {"list", "unix"}));
    ASSERT_TRUE(german.Ok() && odd.Ok()) << german.Error() << odd.Error();
    TempDir dir;
    // A one-letter password that every "p" of a name would match.
    const DixRun names = Probe(LoopbackConnection(german.Port(), false, "alice", "p"), dir);
    EXPECT_EQ(names.exitCode, 0) << names.out;
    for (const char* folder : {"  pub\n", "  Archiv\n", "  Sommer\n", "  Berichte\n", "  Weihnachten\n"})
        EXPECT_THAT(names.out, HasSubstr(folder));
    EXPECT_THAT(names.out, Not(HasSubstr("*")));
    EXPECT_THAT(names.out, Not(HasSubstr("warning:")));

    const DixRun warned = Probe(LoopbackConnection(odd.Port(), false), dir);
    EXPECT_EQ(warned.exitCode, 0) << warned.out;
    EXPECT_THAT(warned.out, HasSubstr(std::string("warning: 127.0.0.1: ") + kUnreadable + "\n"));
}

} // namespace
