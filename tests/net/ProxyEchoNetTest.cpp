// A proxy that echoes the "Basic" credentials it was sent, in its status line, a header
// and its body: `corvane-dix probe` shows its refusal without the credentials in any form.
#include "../common/FtpPeers.h"
#include "../common/RunDix.h"
#include "../common/SampleProject.h"
#include "../common/TempDir.h"

#include "model/SecretText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

TEST(ProxyEcho, ProbeShowsTheRefusalWithoutTheBasicCredentials) {
    ftptest::CPeer proxy({ftptest::Fixture("proxy.py"), "echo-basic"});
    ASSERT_TRUE(proxy.Ok()) << proxy.Error();
    CConnectionInfo c = ftptest::LoopbackConnection(21, false, "alice", "s3cr3t-pw");
    c.m_strHost = "ftp.example.com";
    c.m_bUseProxy = true;
    CCorvaneDoc doc = ProjectWith({c});
    doc.m_proxy = {"127.0.0.1", "proxyuser", "Pr0xyPass99", proxy.Port(), false, CProxySettings::typeHttp};
    TempDir dir;
    const DixRun r = RunDix("probe '" + SaveProject(dir / "p.dix", doc) + "'");
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_THAT(r.out, HasSubstr("ftp.example.com"));
    EXPECT_THAT(r.out, Not(HasSubstr("Pr0xyPass99")));
    EXPECT_THAT(r.out, Not(HasSubstr(corvane::Base64("proxyuser:Pr0xyPass99"))));
    EXPECT_THAT(r.out, Not(HasSubstr("UGFzczk5"))); // any part of it that carries the password
}
