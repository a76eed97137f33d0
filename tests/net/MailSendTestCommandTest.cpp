// corvane-dix sendtest against a real SMTP server on loopback.
#include "../common/RunDix.h"
#include "../common/TempDir.h"
#include "SmtpPeer.h"

#include "model/CCorvaneDoc.h"

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
    std::string Project(const CMailAccount& mail) {
        CCorvaneDoc doc;
        doc.m_mail = mail;
        const std::string path = m_dir / "project.dix";
        std::string error;
        EXPECT_TRUE(doc.OnSaveDocument(path, error)) << error;
        return "'" + path + "'";
    }

    TempDir m_dir;
};

} // namespace

TEST_F(SendTestCommand, SendsTheProjectsAccountAndPrintsOk) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:pa ss"});
    ASSERT_TRUE(peer.Running());
    CMailAccount mail =
        Account(peer.Port(), " 127.0.0.1 ", "reporter ", "pa ss", {" ops@example.com", "boss@example.org "});
    mail.m_strFrom = " Reports <reports@example.com>";
    const DixRun r = RunDix("sendtest " + Project(mail));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "OK\n");
    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_TRUE(data[0]["authenticated"].get<bool>());
}

TEST_F(SendTestCommand, FailuresPrintTheReasonAndNeverThePassword) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:right"});
    ASSERT_TRUE(peer.Running());
    // A password that also appears in the server's reply text must still be masked.
    CMailAccount mail = Account(peer.Port(), "127.0.0.1", "reporter", "credentials", {"ops@example.com"});
    DixRun r = RunDix("sendtest " + Project(mail));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.out, HasSubstr("rejected the user name \"reporter\""));
    EXPECT_THAT(r.out, Not(HasSubstr("credentials")));
    EXPECT_THAT(r.out, HasSubstr("********"));

    // A reply in the server's language reaches the terminal as it was sent.
    mailtest::CSmtpPeer refusing({"--refuse-data", "554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7"});
    ASSERT_TRUE(refusing.Running());
    mail.m_strUser.clear();
    mail.m_nPort = refusing.Port();
    r = RunDix("sendtest " + Project(mail));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.out, HasSubstr("554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7"));

    r = RunDix("sendtest '" + (m_dir / "missing.dix") + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.out, HasSubstr("missing.dix"));
    EXPECT_EQ(RunDix("sendtest").exitCode, 2);
    EXPECT_TRUE(peer.Events("DATA").empty());
}
