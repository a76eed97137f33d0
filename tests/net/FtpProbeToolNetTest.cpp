// `corvane-dix probe` against a real server: one line per connection, the folders the
// browser shows, the exit status, and never a password.
#include "../common/EnvOverride.h"
#include "../common/RunDix.h"
#include "../common/TempDir.h"
#include "FtpPeers.h"

#include "model/CCorvaneDoc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The machine's proxy settings must not reach the probe.
DixRun Probe(const std::string& args) {
    CEnvOverride noFtpProxy("ftp_proxy", ""), noAllProxy("all_proxy", "");
    return RunDix("probe " + args);
}

struct SplitRun {
    int exitCode = -1;
    std::string out, err;
    std::chrono::steady_clock::duration took{};
};

// Standard output and standard error apart.
SplitRun ProbeApart(const std::string& args) {
    CEnvOverride noFtpProxy("ftp_proxy", ""), noAllProxy("all_proxy", "");
    TempDir dir;
    const std::string errFile = dir / "stderr";
    const auto start = std::chrono::steady_clock::now();
    // RunDix folds standard error into what it reads last; ours has gone to the file by then.
    const DixRun run = RunDix("probe " + args + " 2>'" + errFile + "'; exit $?");
    return {run.exitCode, run.out, ReadBytes(errFile), std::chrono::steady_clock::now() - start};
}

std::string ProjectWith(const TempDir& dir, const std::vector<CConnectionInfo>& connections) {
    const std::string file = dir / "p.dix";
    CCorvaneDoc doc;
    doc.OnNewDocument();
    doc.m_arrConnections = connections;
    std::string error;
    EXPECT_TRUE(doc.OnSaveDocument(file, error)) << error;
    return file;
}

CConnectionInfo Local(int port, const char* password = "s3cr3t-pw") {
    CConnectionInfo c;
    c.m_strHost = "127.0.0.1";
    c.m_nPort = port;
    c.m_strUser = "alice";
    c.m_strPassword = password;
    c.m_bPassive = true;
    return c;
}

// Results on standard output; warnings, failures and the transcript on standard error.
TEST(ProbeTool, WarnsOfThePassiveAddressAndShowsItsWorkOnRequest) {
    ftptest::CPeer natted({ftptest::Fixture("ftp_server.py"), "--tree", "--user", "alice:s3cr3t-pw",
                           "--masquerade", "10.0.0.5"});
    ASSERT_TRUE(natted.Ok()) << natted.Error();
    TempDir dir;
    const std::string file = ProjectWith(dir, {Local(natted.Port())});

    const SplitRun plain = ProbeApart(file + " --path /pub");
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_THAT(plain.out, AllOf(::testing::StartsWith("127.0.0.1: OK\n"), HasSubstr("  docs\n"),
                                 Not(HasSubstr("warning"))));
    EXPECT_THAT(plain.err,
                HasSubstr("warning: 127.0.0.1: The server announces the passive address 10.0.0.5"));
    EXPECT_THAT(plain.err, Not(HasSubstr("transcript")));

    EXPECT_EQ(ProbeApart(file + " --path /pub --strict").exitCode, 1);

    const SplitRun verbose = ProbeApart(file + " --verbose");
    EXPECT_EQ(verbose.exitCode, 0);
    EXPECT_THAT(verbose.out, Not(HasSubstr("transcript")));
    for (const char* line : {"transcript of 127.0.0.1:\n", "ms  -- login\n", "ms  > PASS ********\n",
                             "ms  > PASV\n", "ms  < 227 ", "ms  -- listing took "})
        EXPECT_THAT(verbose.err, HasSubstr(line));
    EXPECT_THAT(verbose.err, Not(HasSubstr("s3cr3t-pw")));

    // A failure goes to standard error; the program's own words keep a password that is a word.
    const int unused = ftptest::UnusedPort();
    const std::string refusedFile = ProjectWith(dir, {Local(unused, "connect")});
    const SplitRun refused = ProbeApart(refusedFile);
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
    const SplitRun run = ProbeApart(ProjectWith(dir, {Local(server.Port())}) + " --path /x");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("127.0.0.1: OK\n"));
    EXPECT_LT(run.took, std::chrono::seconds(10));
}

TEST(ProbeTool, ReportsEveryConnectionAndHidesPasswords) {
    // Without MLSD the server lists links as links.
    ftptest::CPeer server(
        {ftptest::Fixture("ftp_server.py"), "--tree", "--user", "alice:s3cr3t-pw", "--no-mlsd"});
    ASSERT_TRUE(server.Ok()) << server.Error();
    TempDir dir;
    const std::string file = dir / "p.dix";

    CCorvaneDoc doc;
    doc.OnNewDocument();
    CConnectionInfo good = testpeer::LoopbackConnection(server.Port(), false, "alice", "s3cr3t-pw");
    CConnectionInfo builtIn = good;
    builtIn.m_strHost = "localhost";
    builtIn.m_bUseWinInet = true;
    CConnectionInfo bad = good;
    bad.m_strHost = "127.0.0.2";
    bad.m_strPassword = "wrong-pw-123";
    doc.m_arrConnections = {good, builtIn, bad};
    std::string error;
    ASSERT_TRUE(doc.OnSaveDocument(file, error)) << error;

    const DixRun all = Probe(file + " --path /pub");
    EXPECT_EQ(all.exitCode, 1) << all.out;
    EXPECT_THAT(all.out, HasSubstr("127.0.0.1: OK\n  "));
    EXPECT_THAT(all.out, HasSubstr("localhost: OK\n"));
    EXPECT_THAT(all.out, HasSubstr("  data\n"));
    EXPECT_THAT(all.out, HasSubstr("  docs\n"));
    EXPECT_THAT(all.out, Not(HasSubstr("readme.txt")));
    EXPECT_THAT(all.out, HasSubstr("127.0.0.2: "));
    EXPECT_THAT(all.out, Not(HasSubstr("127.0.0.2: OK")));
    EXPECT_THAT(all.out, Not(HasSubstr("s3cr3t-pw")));
    EXPECT_THAT(all.out, Not(HasSubstr("wrong-pw-123")));

    const DixRun one = Probe(file + " --host LOCALHOST");
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

    EXPECT_EQ(Probe(file + " --host nowhere").exitCode, 1);

    // A refusal that names the folder ("Документы") in UTF-8, and echoes a short password.
    ftptest::CPeer refusing({ftptest::Fixture("fault_server.py"), "list", "unix"});
    ASSERT_TRUE(refusing.Ok()) << refusing.Error();
    good.m_nPort = refusing.Port();
    good.m_strPassword = "pw";
    doc.m_arrConnections = {good};
    ASSERT_TRUE(doc.OnSaveDocument(file, error)) << error;
    const std::string folder =
        "/missing-pw-\xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b";
    const DixRun refused = Probe(file + " --path " + folder);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_THAT(
        refused.out,
        HasSubstr(
            "The server said: \"550 "
            "/missing-********-\xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b: "
            "No such folder.\""));
    EXPECT_THAT(refused.out, Not(HasSubstr("?")));
    EXPECT_EQ(Probe("").exitCode, 2);
}

} // namespace
