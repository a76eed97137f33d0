// corvane-dix sendtest against a real SMTP server on loopback.
#include "../common/RunDix.h"
#include "../common/SampleProject.h"
#include "../common/SmtpPeer.h"
#include "../common/TempDir.h"

#include "platform/TestMessage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class SendTestCommand : public ::testing::Test {
protected:
    // An account that sends through the SMTP peer at `port` as `user`.
    static CMailAccount Account(int port, const char* server, const char* user, const char* password,
                                std::vector<std::string> recipients) {
        CMailAccount mail;
        mail.m_strServer = server;
        mail.m_nPort = port;
        mail.m_strUser = user;
        mail.m_strPassword = password;
        mail.m_arrRecipients = std::move(recipients);
        return mail;
    }
    // `corvane-dix sendtest` on a project of this account.
    DixSplitRun SendTest(const CMailAccount& mail) {
        CCorvaneDoc doc;
        doc.m_mail = mail;
        return RunDixApart("sendtest '" + SaveProject(m_dir / "project.dix", doc) + "'");
    }

    TempDir m_dir;
};

} // namespace

TEST_F(SendTestCommand, SendsTheProjectsAccountAndPrintsOkWithAWarningForAPlainLogin) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:pa ss"});
    ASSERT_TRUE(peer.Running());
    // Every text of the account arrives trimmed, the password too.
    CMailAccount mail = Account(peer.Port(), " 127.0.0.1 ", "reporter ", "pa ss \t",
                                {" ops@example.com", "boss@example.org "});
    mail.m_strFrom = " Reports <reports@example.com>";
    const DixSplitRun r = SendTest(mail);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "OK\n");
    EXPECT_EQ(r.err, "Warning: " + std::string(corvane::kPlainLoginNotice) + "\n");
    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_TRUE(data[0]["authenticated"].get<bool>());
    EXPECT_EQ(data[0]["rcpt_tos"], nlohmann::json({"ops@example.com", "boss@example.org"}));
}

// Failures go to standard error, a relay's words in visible escapes, and the password is
// masked in what the relay said, never in the program's own words.
TEST_F(SendTestCommand, FailuresPrintTheReasonOnStandardErrorAndNeverThePassword) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:right"});
    ASSERT_TRUE(peer.Running());
    CMailAccount mail = Account(peer.Port(), "127.0.0.1", "reporter", "credentials", {"ops@example.com"});
    DixSplitRun r = SendTest(mail);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr("rejected the user name \"reporter\" or its password."));
    EXPECT_THAT(r.err, HasSubstr("Authentication ******** invalid"));
    EXPECT_THAT(r.err, Not(HasSubstr("credentials")));

    // The program's own sentence keeps its words when the password is one of them.
    mail.m_strPassword = "password";
    EXPECT_THAT(SendTest(mail).err, HasSubstr("or its password."));

    // A reply in the server's language reaches the terminal as it was sent; its control
    // characters (clear screen, window title, C1 CSI) never do.
    mailtest::CSmtpPeer refusing(
        {"--refuse-data", "554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7 \x1b[2J\x1b]0;owned\x07 \xc2\x9b!"});
    ASSERT_TRUE(refusing.Running());
    mail.m_strUser.clear();
    mail.m_nPort = refusing.Port();
    r = SendTest(mail);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(
        r.err, HasSubstr("554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7 \\x1b[2J\\x1b]0;owned\\x07 \\u009b!"));
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos);

    EXPECT_TRUE(peer.Events("DATA").empty());
}
