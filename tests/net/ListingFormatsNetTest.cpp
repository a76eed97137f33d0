// Listings in other formats through the whole path, session to `corvane-dix probe`: a
// German-locale server shows every folder, names are never masked, and lines that cannot
// be read are said, never dropped in silence.
#include "../common/FtpPeers.h"
#include "../common/RunDix.h"
#include "../common/SampleProject.h"
#include "../common/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ftptest;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr const char* kUnreadable = "1 line of the listing could not be read and is not shown "
                                    "(the first: \"this line is no entry at all\").";

TEST(ListingFormatsProbe, NamesStayWholeAndUnreadableLinesWarn) {
    CPeer german(Peer("fault_server.py", {"list", "german"}));
    CPeer odd(Peer("fault_server.py", {"list", "unix"}));
    ASSERT_TRUE(german.Ok() && odd.Ok()) << german.Error() << odd.Error();
    TempDir dir;
    // A one-letter password that every "p" of a name would match.
    const DixRun names =
        RunDix("probe " + SaveProject(dir / "p.dix",
                                      ProjectWith({LoopbackConnection(german.Port(), false, "alice", "p")})));
    EXPECT_EQ(names.exitCode, 0) << names.out;
    for (const char* folder : {"  pub\n", "  Archiv\n", "  Sommer\n", "  Berichte\n", "  Weihnachten\n"})
        EXPECT_THAT(names.out, HasSubstr(folder));
    EXPECT_THAT(names.out, Not(HasSubstr("*")));
    EXPECT_THAT(names.out, Not(HasSubstr("warning:")));

    const DixSplitRun warned =
        RunDixApart("probe " + SaveProject(dir / "p.dix", ProjectWith({LoopbackConnection(odd.Port())})));
    EXPECT_EQ(warned.exitCode, 0) << warned.err;
    EXPECT_THAT(warned.out, HasSubstr("  no group dir\n"));
    EXPECT_THAT(warned.err, HasSubstr(std::string("warning: 127.0.0.1: ") + kUnreadable + "\n"));
}

} // namespace
