// corvane-dix sendtest against a real SMTP server on loopback.
#include "SmtpPeer.h"

#include "model/CCorvaneDoc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string output;
};

ToolRun Tool(const std::string& args) {
    ToolRun r;
    const std::string cmd = std::string("'") + CORVANE_DIX_TOOL + "' " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    std::array<char, 512> buf{};
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), p))
        r.output.append(buf.data(), n);
    const int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class SendTestCommand : public ::testing::Test {
protected:
    void SetUp() override { m_dir = mailtest::MakeTempDir(); }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    std::string Project(const CMailAccount& mail) {
        CCorvaneDoc doc;
        doc.m_mail = mail;
        const std::string path = (m_dir / "project.dix").string();
        std::string error;
        EXPECT_TRUE(doc.OnSaveDocument(path, error)) << error;
        return "'" + path + "'";
    }

    std::filesystem::path m_dir;
};

} // namespace

TEST_F(SendTestCommand, SendsTheProjectsAccountAndPrintsOk) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:pa ss"});
    ASSERT_TRUE(peer.Running());
    CMailAccount mail;
    mail.m_strServer = " 127.0.0.1 ";
    mail.m_nPort = peer.Port();
    mail.m_strUser = "reporter ";
    mail.m_strPassword = "pa ss";
    mail.m_strFrom = " Reports <reports@example.com>";
    mail.m_arrRecipients = {" ops@example.com", "boss@example.org "};
    const ToolRun r = Tool("sendtest " + Project(mail));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output, "OK\n");
    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0]["mail_from"], "reports@example.com");
    EXPECT_EQ(data[0]["rcpt_tos"], nlohmann::json({"ops@example.com", "boss@example.org"}));
    EXPECT_TRUE(data[0]["authenticated"].get<bool>());
}

TEST_F(SendTestCommand, FailuresPrintTheReasonAndNeverThePassword) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:right"});
    ASSERT_TRUE(peer.Running());
    CMailAccount mail;
    mail.m_strServer = "127.0.0.1";
    mail.m_nPort = peer.Port();
    mail.m_strUser = "reporter";
    // A password that also appears in the server's reply text must still be masked.
    mail.m_strPassword = "credentials";
    mail.m_arrRecipients = {"ops@example.com"};
    ToolRun r = Tool("sendtest " + Project(mail));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.output, HasSubstr("rejected the user name \"reporter\""));
    EXPECT_THAT(r.output, Not(HasSubstr("credentials")));
    EXPECT_THAT(r.output, HasSubstr("********"));

    mail.m_nPort = mailtest::ClosedPort();
    r = Tool("sendtest " + Project(mail));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.output, HasSubstr("refused"));

    r = Tool("sendtest '" + (m_dir / "missing.dix").string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.output, HasSubstr("missing.dix"));
    EXPECT_EQ(Tool("sendtest").exitCode, 2);
    EXPECT_TRUE(peer.Events("DATA").empty());
}
