// The mail component against relays that misbehave (tests/fixtures/smtp_hostile.py): each
// is reported as what happened, in time, and nothing a relay echoes shows the password.
#include "../common/SmtpPeer.h"

#include "platform/CMailer.h"
#include "platform/COleException.h"
#include "platform/NetTimeouts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr const char* kUser = "bob";
constexpr const char* kPassword = "S3cretPw12";

struct HostileCase {
    const char* name;
    std::vector<std::string> mode; // smtp_hostile.py arguments
    std::vector<std::string> named;
    // Texts the failure must not show: the password's halves, its base64 forms.
    std::vector<std::string> hidden;
    // The longest the send may take, in response timeouts (2 s here).
    double timeouts;
    bool plainLogin = false;
};
void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class MailHostileRelay : public ::testing::TestWithParam<HostileCase> {
protected:
    corvane::ScopedNetTimeouts m_timeouts{{std::chrono::seconds(2), std::chrono::seconds(2)}};
};

// clang-format off
const HostileCase kRelays[] = {
    {"SplitsThePasswordOverTwoLines", {"split-password"}, {"The password ******** 5.7.8 ******** is wrong"},
     {kPassword, "AGJvYgBTM2NyZXRQdzEy", "UzNjcmV0UHcxMg==", "Ym9i", "S3cre", "tPw12"}, 0.5, true},
    {"SendsAnEndlessReply", {"oversized"}, {"sent a reply longer than 8192 bytes"}, {}, 0.5},
    {"EndsLinesWithCarriageReturnOnly", {"cr-only"}, {"end in no line break (CR LF)"}, {}, 1.5},
    {"SilentAfterTheMessage", {"silent-after-data"}, {"received the message but did not confirm it within 2 seconds"}, {}, 1.5, true},
    {"SilentOnQuit", {"silent-quit"}, {}, {}, 0.5, true},
    {"OffersNoStartTls", {"no-starttls"}, {}, {}, 0.5, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, MailHostileRelay, ::testing::ValuesIn(kRelays),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(MailHostileRelay, IsReportedAsWhatHappenedInTimeWithoutSecrets) {
    const HostileCase& c = GetParam();
    std::vector<std::string> args = {testpeer::Fixture("smtp_hostile.py")};
    args.insert(args.end(), c.mode.begin(), c.mode.end());
    testpeer::CPeerProcess relay(args);
    ASSERT_TRUE(relay.Ok()) << relay.Error();
    CMailer mailer;
    mailer.Create();
    mailer.SetServer("127.0.0.1");
    mailer.SetPort(relay.Port());
    mailer.SetUser(kUser);
    mailer.SetPassword(kPassword);
    mailer.SetSender("ops@example.com");
    mailer.AddRecipient("boss@example.com");
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    try {
        mailer.Send();
    } catch (const COleDispatchException& e) {
        error = e.m_strDescription;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 2.0 * c.timeouts) << error;
    if (c.named.empty()) {
        EXPECT_EQ(error, "");
    }
    for (const std::string& part : c.named) {
        EXPECT_THAT(error, HasSubstr(part));
    }
    for (const std::string& secret : c.hidden) {
        EXPECT_THAT(error, Not(HasSubstr(secret)));
    }
    EXPECT_EQ(mailer.GetPlainLogin(), c.plainLogin);
    if (c.plainLogin && !error.empty()) {
        EXPECT_THAT(error, HasSubstr("The password went unencrypted"));
    }
}

// "[v6]:port", and a bare IPv6 literal with the port given apart.
TEST(MailIPv6, ReachesTheServerByBracketedAndBareAddress) {
    mailtest::CSmtpPeer peer({"--host", "::1"});
    ASSERT_TRUE(peer.Running());
    for (const bool bracketed : {true, false}) {
        CMailer mailer;
        mailer.Create();
        mailer.SetServer(bracketed ? "[::1]:" + std::to_string(peer.Port()) : "::1");
        mailer.SetPort(bracketed ? 25 : peer.Port());
        mailer.SetSender("ops@example.com");
        mailer.AddRecipient("boss@example.com");
        EXPECT_NO_THROW(mailer.Send()) << bracketed;
    }
    EXPECT_EQ(peer.Events("DATA").size(), 2u);
}

} // namespace
