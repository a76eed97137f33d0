// `corvane-dix probe` against a real server: one line per connection, the folders the
// browser shows, the exit status, and never a password.
#include "../common/FtpPeers.h"
#include "../common/RunDix.h"
#include "../common/SampleProject.h"
#include "../common/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using ftptest::LoopbackConnection;

// A project of these connections, probed with `args` after it.
DixSplitRun Probe(const TempDir& dir, std::vector<CConnectionInfo> connections,
                  const std::string& args = "") {
    return RunDixApart("probe " + SaveProject(dir / "p.dix", ProjectWith(std::move(connections))) + args);
}

// Results on standard output; warnings, failures and the transcript on standard error.
TEST(ProbeTool, WarnsOfThePassiveAddressAndShowsItsWorkOnRequest) {
    ftptest::CPeer natted({ftptest::Fixture("ftp_server.py"), "--tree", "--user", "alice:s3cr3t-pw",
                           "--masquerade", "10.0.0.5"});
    ASSERT_TRUE(natted.Ok()) << natted.Error();
    TempDir dir;
    const CConnectionInfo natConnection = LoopbackConnection(natted.Port(), false, "alice", "s3cr3t-pw");

    const DixSplitRun plain = Probe(dir, {natConnection}, " --path /pub");
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_THAT(plain.out, AllOf(::testing::StartsWith("127.0.0.1: OK\n"), HasSubstr("  docs\n"),
                                 Not(HasSubstr("warning"))));
    EXPECT_THAT(plain.err,
                HasSubstr("warning: 127.0.0.1: The server announces the passive address 10.0.0.5"));
    EXPECT_THAT(plain.err, Not(HasSubstr("transcript")));

    EXPECT_EQ(Probe(dir, {natConnection}, " --path /pub --strict").exitCode, 1);

    const DixSplitRun verbose = Probe(dir, {natConnection}, " --verbose");
    EXPECT_EQ(verbose.exitCode, 0);
    EXPECT_THAT(verbose.out, Not(HasSubstr("transcript")));
    for (const char* line : {"transcript of 127.0.0.1:\n", "ms  -- login\n", "ms  > PASS ********\n",
                             "ms  > PASV\n", "ms  < 227 ", "ms  -- listing took "})
        EXPECT_THAT(verbose.err, HasSubstr(line));
    EXPECT_THAT(verbose.err, Not(HasSubstr("s3cr3t-pw")));

    // A failure goes to standard error; the program's own words keep a password that is a word.
    const int unused = ftptest::UnusedPort();
    const DixSplitRun refused = Probe(dir, {LoopbackConnection(unused, false, "alice", "connect")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_THAT(refused.err, HasSubstr("127.0.0.1: Connecting failed: the server \"127.0.0.1\" on port " +
                                       std::to_string(unused) + " refused the connection."));
}

// The work is done when the listing is: a server that never answers QUIT changes nothing.
TEST(ProbeTool, AnUnansweredQuitNeitherDelaysNorChangesTheVerdict) {
    ftptest::CPeer server({ftptest::Fixture("fault_server.py"), "no-quit"});
    ASSERT_TRUE(server.Ok()) << server.Error();
    TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    const DixSplitRun run = Probe(dir, {LoopbackConnection(server.Port())}, " --path /x");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("127.0.0.1: OK\n"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(ProbeTool, ReportsEveryConnectionAndHidesPasswords) {
    // Without MLSD the server lists links as links.
    ftptest::CPeer server(
        {ftptest::Fixture("ftp_server.py"), "--tree", "--user", "alice:s3cr3t-pw", "--no-mlsd"});
    ASSERT_TRUE(server.Ok()) << server.Error();
    TempDir dir;
    CConnectionInfo good = LoopbackConnection(server.Port(), false, "alice", "s3cr3t-pw");
    CConnectionInfo builtIn = good;
    builtIn.m_strHost = "localhost";
    builtIn.m_bUseWinInet = true;
    CConnectionInfo bad = good;
    bad.m_strHost = "127.0.0.2";
    bad.m_strPassword = "wrong-pw-123";

    const DixSplitRun all = Probe(dir, {good, builtIn, bad}, " --path /pub");
    EXPECT_EQ(all.exitCode, 1) << all.out;
    EXPECT_THAT(all.out, HasSubstr("127.0.0.1: OK\n  "));
    EXPECT_THAT(all.out, HasSubstr("localhost: OK\n"));
    EXPECT_THAT(all.out, HasSubstr("  data\n"));
    EXPECT_THAT(all.out, HasSubstr("  docs\n"));
    EXPECT_THAT(all.out, Not(HasSubstr("readme.txt")));
    EXPECT_THAT(all.out + all.err, HasSubstr("127.0.0.2: "));
    EXPECT_THAT(all.out, Not(HasSubstr("127.0.0.2: OK")));
    EXPECT_THAT(all.out + all.err, AllOf(Not(HasSubstr("s3cr3t-pw")), Not(HasSubstr("wrong-pw-123"))));

    const DixRun one = RunDix("probe " + dir.File("p.dix") + " --host LOCALHOST");
    EXPECT_EQ(one.exitCode, 0) << one.out;
    EXPECT_THAT(one.out, HasSubstr("localhost: OK\n"));
    EXPECT_THAT(one.out, HasSubstr("  folder with spaces\n"));
    // The browser's folders under the browser's names: links too, UTF-8 and legacy names read as text.
    for (const char* folder : {"  publink\n", "  filelink\n", "  Caf\xc3\xa9\n",
                               "  Stra\xc3\x9f"
                               "e\n",
                               "  \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\n"})
        EXPECT_THAT(one.out, HasSubstr(folder));
    EXPECT_THAT(one.out, Not(HasSubstr("127.0.0.1")));
    EXPECT_EQ(RunDix("probe " + dir.File("p.dix") + " --host nowhere").exitCode, 1);
}

} // namespace
