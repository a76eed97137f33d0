// corvane-dix sendtest against a real SMTP server on loopback.
#include "../common/RunDix.h"
#include "../common/TempDir.h"
#include "SmtpPeer.h"

#include "model/CCorvaneDoc.h"
#include "platform/TestMessage.h"

#include <fstream>
#include <iterator>

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

    // Runs corvane-dix with standard error apart in `err`.
    DixRun RunApart(const std::string& args, std::string& err) {
        const std::string errPath = m_dir / "stderr.txt";
        const DixRun r = RunDix(args + " 2>'" + errPath + "'; exit $?");
        std::ifstream in(errPath);
        err.assign(std::istreambuf_iterator<char>(in), {});
        return r;
    }

    TempDir m_dir;
};

} // namespace

TEST_F(SendTestCommand, SendsTheProjectsAccountAndPrintsOkWithAWarningForAPlainLogin) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:pa ss"});
    ASSERT_TRUE(peer.Running());
    CMailAccount mail =
        Account(peer.Port(), " 127.0.0.1 ", "reporter ", "pa ss", {" ops@example.com", "boss@example.org "});
    mail.m_strFrom = " Reports <reports@example.com>";
    std::string err;
    const DixRun r = RunApart("sendtest " + Project(mail), err);
    EXPECT_EQ(r.exitCode, 0) << r.out << err;
    EXPECT_EQ(r.out, "OK\n");
    EXPECT_EQ(err, "Warning: " + std::string(corvane::kPlainLoginNotice) + "\n");
    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_TRUE(data[0]["authenticated"].get<bool>());
}

// Failures go to standard error, a relay's words in visible escapes, and the password is
// masked in what the relay said, never in the program's own words.
TEST_F(SendTestCommand, FailuresPrintTheReasonOnStandardErrorAndNeverThePassword) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:right"});
    ASSERT_TRUE(peer.Running());
    CMailAccount mail = Account(peer.Port(), "127.0.0.1", "reporter", "credentials", {"ops@example.com"});
    std::string err;
    DixRun r = RunApart("sendtest " + Project(mail), err);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(err, HasSubstr("rejected the user name \"reporter\" or its password."));
    EXPECT_THAT(err, HasSubstr("Authentication ******** invalid"));
    EXPECT_THAT(err, Not(HasSubstr("credentials")));

    // The program's own sentence keeps its words when the password is one of them.
    mail.m_strPassword = "password";
    r = RunApart("sendtest " + Project(mail), err);
    EXPECT_THAT(err, HasSubstr("or its password."));

    // A reply in the server's language reaches the terminal as it was sent; its control
    // characters (clear screen, window title, C1 CSI) never do.
    mailtest::CSmtpPeer refusing(
        {"--refuse-data", "554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7 \x1b[2J\x1b]0;owned\x07 \xc2\x9b!"});
    ASSERT_TRUE(refusing.Running());
    mail.m_strUser.clear();
    mail.m_nPort = refusing.Port();
    r = RunApart("sendtest " + Project(mail), err);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(
        err, HasSubstr("554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7 \\x1b[2J\\x1b]0;owned\\x07 \\u009b!"));
    EXPECT_EQ(err.find('\x1b'), std::string::npos);

    r = RunApart("sendtest '" + (m_dir / "missing.dix") + "'", err);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(err, HasSubstr("missing.dix"));
    EXPECT_EQ(RunDix("sendtest").exitCode, 2);
    EXPECT_TRUE(peer.Events("DATA").empty());
}
