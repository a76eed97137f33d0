// `corvane-dix probe` against a real server: one line per connection, the folders the
// browser shows, the exit status, and never a password.
#include "../common/EnvOverride.h"
#include "../common/RunDix.h"
#include "../common/TempDir.h"
#include "FtpPeers.h"

#include "model/CCorvaneDoc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The machine's proxy settings must not reach the probe.
DixRun Probe(const std::string& args) {
    CEnvOverride noFtpProxy("ftp_proxy", ""), noAllProxy("all_proxy", "");
    return RunDix("probe " + args);
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
    CConnectionInfo good;
    good.m_strHost = "127.0.0.1";
    good.m_nPort = server.Port();
    good.m_strUser = "alice";
    good.m_strPassword = "s3cr3t-pw";
    good.m_bPassive = true;
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
            "550 /missing-********-\xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b: "
            "No such folder."));
    EXPECT_THAT(refused.out, Not(HasSubstr("?")));
    EXPECT_EQ(Probe("").exitCode, 2);
}

} // namespace
