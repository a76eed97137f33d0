// A proxy that echoes the "Basic" credentials it was sent, in its status line, a header
// and its body: `corvane-dix probe` shows its refusal without the credentials in any form.
#include "../common/EnvOverride.h"
#include "../common/RunDix.h"
#include "../common/TempDir.h"
#include "FtpPeers.h"

#include "model/CCorvaneDoc.h"
#include "model/SecretText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

TEST(ProxyEcho, ProbeShowsTheRefusalWithoutTheBasicCredentials) {
    ftptest::CPeer proxy({ftptest::Fixture("proxy.py"), "echo-basic"});
    ASSERT_TRUE(proxy.Ok()) << proxy.Error();
    TempDir dir;
    const std::string file = dir / "p.dix";
    CCorvaneDoc doc;
    doc.OnNewDocument();
    CConnectionInfo c;
    c.m_strHost = "ftp.example.com";
    c.m_strUser = "alice";
    c.m_strPassword = "s3cr3t-pw";
    c.m_bUseProxy = true;
    doc.m_arrConnections = {c};
    doc.m_proxy.m_nType = CProxySettings::typeHttp;
    doc.m_proxy.m_strHost = "127.0.0.1";
    doc.m_proxy.m_nPort = proxy.Port();
    doc.m_proxy.m_strUser = "proxyuser";
    doc.m_proxy.m_strPassword = "Pr0xyPass99";
    std::string error;
    ASSERT_TRUE(doc.OnSaveDocument(file, error)) << error;

    CEnvOverride noFtpProxy("ftp_proxy", ""), noAllProxy("all_proxy", "");
    const DixRun r = RunDix("probe '" + file + "'");
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_THAT(r.out, HasSubstr("ftp.example.com"));
    EXPECT_THAT(r.out, Not(HasSubstr("Pr0xyPass99")));
    EXPECT_THAT(r.out, Not(HasSubstr(corvane::Base64("proxyuser:Pr0xyPass99"))));
    EXPECT_THAT(r.out, Not(HasSubstr("UGFzczk5"))); // any part of it that carries the password
}
