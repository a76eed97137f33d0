// The mail component against a real SMTP server on loopback, driven through the
// automation layer in the order the mail account dialog uses.
#include "../common/SmtpPeer.h"

#include "model/CodePage.h"
#include "platform/CAutomationRegistry.h"
#include "platform/CMailComponent.h"
#include "platform/CMailer.h"
#include "platform/COleDispatchDriver.h"
#include "platform/COleException.h"
#include "platform/MailerDispIds.h"
#include "platform/NetTimeouts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <netdb.h>
#include <regex>
#include <sstream>

using mailtest::CSmtpPeer;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

struct Account {
    std::string server = "127.0.0.1";
    std::string user;
    std::string password;
    std::string sender = "Corvane Test <sender@example.com>";
    std::string subject = "Test message";
    std::vector<std::string> recipients = {"first@example.com"};
    int port = 25;
    bool requireTls = false;
};

// Empty on success, else the component's description.
std::string Send(CMailer& mailer, const Account& a) {
    try {
        mailer.SetServer(a.server);
        mailer.SetUser(a.user);
        mailer.SetPassword(a.password);
        mailer.SetSender(a.sender);
        mailer.SetSubject(a.subject);
        mailer.SetRequireTls(a.requireTls);
        mailer.SetPort(a.port);
        for (const auto& r : a.recipients)
            mailer.AddRecipient(r);
        mailer.Send();
        return {};
    } catch (const COleDispatchException& e) {
        EXPECT_FALSE(e.m_strDescription.empty());
        return e.m_strDescription;
    }
}

std::string Send(const Account& a) {
    CMailer mailer;
    mailer.Create();
    return Send(mailer, a);
}

class MailComponent : public ::testing::Test {
protected:
    corvane::ScopedNetTimeouts m_timeouts{corvane::kDefaultNetTimeouts};
};

#define REQUIRE_PEER(peer)                                                                                   \
    ASSERT_TRUE((peer).Running()) << "the SMTP peer did not start (python3-aiosmtpd missing?)"

} // namespace

// The password leaves as the project's Windows-1252 bytes, which the peer checks.
TEST_F(MailComponent, LogsInAndDeliversEnvelopeAndHeadersWithSubjectInCodePageCharacters) {
    CSmtpPeer peer({"--auth", "reporter:s3cr\xe9t"});
    REQUIRE_PEER(peer);
    Account a;
    a.port = peer.Port();
    a.user = "reporter";
    a.password = "s3cr\xe9t";
    a.sender = "Operator <ops@example.com>";
    a.recipients = {"first@example.com", "Second One <second@example.org>"};
    // "Prüfung – Bericht 5 €" in Windows-1252: a non-Latin-1 dash and euro sign too.
    a.subject = "Pr\xFC"
                "fung \x96 Bericht 5 \x80";
    ASSERT_EQ(Send(a), "");

    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), 1u);
    const auto& d = data[0];
    EXPECT_EQ(d["mail_from"], "ops@example.com");
    EXPECT_EQ(d["rcpt_tos"], nlohmann::json({"first@example.com", "second@example.org"}));
    const auto& h = d["headers"];
    EXPECT_EQ(h["Subject"], corvane::Cp1252ToUtf8(a.subject));
    EXPECT_EQ(h["From"], "Operator <ops@example.com>");
    EXPECT_EQ(h["To"], "first@example.com, Second One <second@example.org>");
    EXPECT_EQ(h["MIME-Version"], "1.0");
    EXPECT_THAT(h["Content-Type"].get<std::string>(), HasSubstr("text/plain"));
    EXPECT_TRUE(std::regex_match(h["Message-ID"].get<std::string>(), std::regex("<[^@<> ]+@example\\.com>")))
        << h["Message-ID"];
    EXPECT_TRUE(std::regex_match(
        h["Date"].get<std::string>(),
        std::regex("[A-Z][a-z]{2}, \\d{2} [A-Z][a-z]{2} \\d{4} \\d{2}:\\d{2}:\\d{2} [+-]\\d{4}")))
        << h["Date"];
    EXPECT_THAT(d["body"].get<std::string>(), HasSubstr("Corvane"));
    // The raw header block is 7-bit: the 8-bit subject travels encoded.
    for (const unsigned char c : d["raw_headers"].get<std::string>())
        EXPECT_LT(c, 0x80);
    const auto auth = peer.Events("AUTH");
    ASSERT_EQ(auth.size(), 1u);
    EXPECT_EQ(auth[0]["login"], "reporter");
    EXPECT_TRUE(auth[0]["success"].get<bool>());
    EXPECT_TRUE(d["authenticated"].get<bool>());
}

TEST_F(MailComponent, LongAndTrickySubjectsSurviveFoldingAndEncoding) {
    CSmtpPeer peer;
    REQUIRE_PEER(peer);
    std::string longEightBit;
    for (int i = 0; i < 30; ++i)
        longEightBit += "\xC4rger \x80 ";
    longEightBit += "Ende";
    std::string longAscii;
    for (int i = 0; i < 25; ++i)
        longAscii += "word" + std::to_string(i) + " ";
    longAscii += "end";
    const std::vector<std::string> subjects = {longEightBit, longAscii, "=?UTF-8?B?SGk=?= is not a code",
                                               "Line\r\nBcc: injected@example.com"};
    for (const auto& s : subjects) {
        Account a;
        a.port = peer.Port();
        a.subject = s;
        ASSERT_EQ(Send(a), "") << s;
    }
    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), subjects.size());
    EXPECT_EQ(data[0]["headers"]["Subject"], corvane::Cp1252ToUtf8(longEightBit));
    EXPECT_EQ(data[1]["headers"]["Subject"], longAscii);
    EXPECT_EQ(data[2]["headers"]["Subject"], subjects[2]);
    // A line break in the subject must not start a header of its own.
    EXPECT_FALSE(data[3]["headers"].contains("Bcc"));
    EXPECT_EQ(data[3]["rcpt_tos"], nlohmann::json({"first@example.com"}));
    for (const auto& d : data) {
        std::istringstream raw(d["raw_headers"].get<std::string>());
        std::string line;
        while (std::getline(raw, line))
            EXPECT_LE(line.size(), 79u) << line; // 78 plus the CR that getline leaves
    }
}

// Each failure is named with what the server refused, never shows the password, and
// stops the session before `stopsBefore` (nobody gets the message when one step fails).
struct FailureCase {
    const char* name;
    std::vector<std::string> peer;
    std::function<void(Account&)> change;
    std::vector<std::string> named;
    const char* stopsBefore;
};
// Its name, so that test names are stable (gtest would print its bytes).
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class MailComponentFailures : public MailComponent, public ::testing::WithParamInterface<FailureCase> {};

const std::vector<std::string> kAuth = {"--auth", "reporter:s3cret"};
void Login(Account& a, const char* password) {
    a.user = "reporter", a.password = password;
}

// clang-format off
const FailureCase kFailures[] = {
    {"WrongPassword", kAuth, [](Account& a) { Login(a, "wrong-password"); }, {"rejected the user name \"reporter\"", "535"}, "DATA"},
    {"NoLogin", kAuth, [](Account&) {}, {"requires a login"}, "DATA"},
    // A user name is never dropped silently when the server offers no login.
    // The project's Windows-1252 text is quoted in UTF-8, the text's one encoding.
    {"LoginNotOffered", {}, [](Account& a) { Login(a, "s3cret"), a.user = "r\xe9mi"; }, {"does not offer a login", "\"r\xc3\xa9mi\""}, "MAIL"},
    {"RefusedRecipient", {"--refuse-rcpt", "nobody@example.com"},
     [](Account& a) { a.recipients = {"ok@example.com", "Nobody <nobody@example.com>", "later@example.com"}; },
     {"refused the recipient \"nobody@example.com\"", "550"}, "DATA"},
    {"RefusedSender", {"--refuse-sender", "spoofed@example.com"}, [](Account& a) { a.sender = "spoofed@example.com"; },
     {"refused the sender \"spoofed@example.com\""}, "DATA"},
    // A relay answering in its own language is quoted as it answered.
    {"RefusedInTheServersLanguage", {"--refuse-data", "554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7\xd0\xb0\xd0\xbd\xd0\xbe"},
     [](Account&) {}, {"refused the message", "554 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7\xd0\xb0\xd0\xbd\xd0\xbe"}, ""},
    // No recipients: the session is still checked, and its failure is the one shown.
    {"NoRecipients", kAuth, [](Account& a) { Login(a, "s3cret"), a.recipients.clear(); }, {"No recipients"}, "MAIL"},
    // A line break would end a command and start one nobody wrote: nothing is sent.
    {"LineBreakInUser", kAuth, [](Account& a) { Login(a, "s3cret"), a.user = "reporter\r\nRSET"; },
     {"The user name \"reporter\\r\\nRSET\" holds a control character"}, "AUTH"},
    {"NulInPassword", kAuth, [](Account& a) { a.user = "reporter", a.password = std::string("s3\0cret", 7); },
     {"The password holds a control character"}, "AUTH"},
    {"LineBreakInSender", {}, [](Account& a) { a.sender = "ops@example.com>\r\nRCPT TO:<victim@example.com"; },
     {"The sender address", "holds a control character"}, "MAIL"},
    {"LineBreakInRecipient", {}, [](Account& a) { a.recipients = {"ok@example.com", "x@example.com>\nRCPT TO:<victim@example.com"}; },
     {"The recipient", "\\nRCPT", "holds a control character"}, "MAIL"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, MailComponentFailures, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(MailComponentFailures, AreNamedAndSendNothing) {
    const FailureCase& c = GetParam();
    CSmtpPeer peer(c.peer);
    REQUIRE_PEER(peer);
    Account a;
    a.port = peer.Port();
    c.change(a);
    const std::string error = Send(a);
    for (const std::string& part : c.named)
        EXPECT_THAT(error, HasSubstr(part));
    if (!a.password.empty()) {
        EXPECT_THAT(error, Not(HasSubstr(a.password)));
    }
    if (*c.stopsBefore) {
        EXPECT_TRUE(peer.Events(c.stopsBefore).empty());
    }
    if (c.name == std::string("NoRecipients")) {
        EXPECT_EQ(peer.Events("AUTH").size(), 1u);
    }
}

// A refused port, a bad server text, a silent server ending in the timeout, a port that
// greets in another protocol (named at its first line, long before the timeout), an unknown host.
TEST_F(MailComponent, ConnectionFailuresAreReadableAndInTime) {
    Account a;
    a.port = testpeer::UnusedPort();
    EXPECT_THAT(Send(a), HasSubstr("connection was refused"));

    // "host:port" in the server text reaches the port given there.
    CSmtpPeer peer;
    REQUIRE_PEER(peer);
    a.server = "127.0.0.1:" + std::to_string(peer.Port());
    EXPECT_EQ(Send(a), "");

    a.server = "127.0.0.1";
    a.port = 0;
    EXPECT_THAT(Send(a), HasSubstr("port number 0 is not valid"));
    a.server = " ";
    EXPECT_THAT(Send(a), HasSubstr("No mail server"));

    testpeer::CPeerProcess silent({testpeer::Fixture("fault_server.py"), "hang"});
    testpeer::CPeerProcess ssh({testpeer::Fixture("fault_server.py"), "ssh"});
    ASSERT_TRUE(silent.Ok() && ssh.Ok()) << silent.Error() << ssh.Error();
    a.server = "127.0.0.1";
    a.port = silent.Port();
    {
        corvane::ScopedNetTimeouts quick({std::chrono::milliseconds(1000), std::chrono::milliseconds(1000)});
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THAT(Send(a), HasSubstr("did not answer within"));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
    corvane::ScopedNetTimeouts patient({std::chrono::seconds(20), std::chrono::seconds(20)});
    a.port = ssh.Port();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(Send(a), AllOf(HasSubstr("is not a mail server's"), HasSubstr("\"SSH-2.0-OpenSSH_9.2p1")));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    addrinfo* res = nullptr;
    const int rc = getaddrinfo("no-such-host.invalid", "25", nullptr, &res);
    if (res)
        freeaddrinfo(res);
    if (rc != EAI_NONAME)
        GTEST_SKIP() << "the resolver cannot say that a name does not exist here";
    a.server = "no-such-host.invalid";
    EXPECT_THAT(Send(a), HasSubstr("\"no-such-host.invalid\" was not found"));
}

TEST_F(MailComponent, MembersAndArgumentTypesAreChecked) {
    COleDispatchDriver mailer;
    ASSERT_TRUE(mailer.CreateDispatch("Pelican.CoMailer"));
    EXPECT_THROW(mailer.InvokeHelper(99, InvokeKind::method), COleException);
    EXPECT_THROW(mailer.SetProperty(comailer::dispidServer, std::int32_t{1}), COleException);
    EXPECT_THROW(mailer.SetProperty(comailer::dispidRequireTls, std::string("no")), COleException);
    EXPECT_THROW(mailer.GetProperty(comailer::dispidPassword), COleException);
    mailer.SetProperty(comailer::dispidServer, std::string("mail.example.com"));
    EXPECT_EQ(std::get<std::string>(mailer.GetProperty(comailer::dispidServer)), "mail.example.com");
    mailer.SetProperty(comailer::dispidPort, static_cast<std::int16_t>(-25536));
    EXPECT_EQ(std::get<std::int32_t>(mailer.GetProperty(comailer::dispidPort)), 40000);
    // Each creation is a fresh instance: nothing carries over from the one above.
    COleDispatchDriver second;
    ASSERT_TRUE(second.CreateDispatch("Pelican.CoMailer"));
    EXPECT_EQ(std::get<std::string>(second.GetProperty(comailer::dispidServer)), "");
}

struct TlsCase {
    const char* name;
    std::vector<std::string> peer; // smtp_peer.py arguments
    bool trustPeer;                // the peer's own certificate is the trust anchor
    bool implicitTls;              // the peer's port is the one that speaks TLS from the start
    bool requireTls;
    const char* error; // empty: the message went out encrypted
};
// Its name, so that test names are stable (gtest would print its bytes).
void PrintTo(const TlsCase& c, std::ostream* os) {
    *os << c.name;
}

class MailComponentTls : public MailComponent, public ::testing::WithParamInterface<TlsCase> {};

constexpr const char* kUntrusted = "issuer this system does not trust";
// clang-format off
const TlsCase kTls[] = {
    {"StartTls", {"--tls", "starttls"}, true, false, false, ""},
    {"Smtps", {"--tls", "smtps"}, true, true, false, ""},
    // A login after STARTTLS is no plain login.
    {"StartTlsLogin", {"--tls", "starttls", "--auth", "reporter:s3cret"}, true, false, false, ""},
    // Against the system's trust anchors the peer's own certificate fails, and the
    // message must not go out in plain text instead.
    {"StartTlsUntrusted", {"--tls", "starttls"}, false, false, false, kUntrusted},
    {"SmtpsUntrusted", {"--tls", "smtps"}, false, true, false, kUntrusted},
    {"OtherName", {"--tls", "smtps", "--cert", "wrong-name"}, true, true, false, "for another name"},
    {"Expired", {"--tls", "starttls", "--cert", "expired"}, true, false, false, "has expired"},
    {"RequiredOnAPlainServer", {}, false, false, true, "does not offer an encrypted connection"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, MailComponentTls, ::testing::ValuesIn(kTls),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(MailComponentTls, EncryptsOrSaysWhatFailed) {
    const TlsCase& c = GetParam();
    CSmtpPeer peer(c.peer);
    REQUIRE_PEER(peer);
    CMailComponent component;
    if (c.trustPeer)
        component.SetCaFile(peer.CertFile());
    if (c.implicitTls)
        component.SetImplicitTlsPort(peer.Port());
    Account a;
    a.port = peer.Port();
    a.requireTls = c.requireTls;
    if (std::find(c.peer.begin(), c.peer.end(), "--auth") != c.peer.end())
        Login(a, "s3cret");
    CMailer mailer(std::shared_ptr<IDispatch>(&component, [](IDispatch*) {}));
    const std::string error = Send(mailer, a);
    const auto data = peer.Events("DATA");
    if (*c.error) {
        EXPECT_THAT(error, HasSubstr(c.error));
        EXPECT_TRUE(peer.Events("MAIL").empty()) << "nothing goes out unencrypted";
        return;
    }
    EXPECT_EQ(error, "");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_TRUE(data[0]["tls"].get<bool>());
    EXPECT_FALSE(mailer.GetPlainLogin());
}
