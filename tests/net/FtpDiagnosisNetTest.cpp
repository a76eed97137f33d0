// The connection test's verdicts against servers misconfigured the way operators meet them:
// each failure names its stage and says what to do, in words of our own; a passive address
// the server announces wrongly is a warning; the transcript shows the work.
#include "../common/FtpPeers.h"

#include "platform/NetTimeouts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using namespace ftptest;
using namespace std::chrono_literals;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

struct FailureCase {
    const char* name;
    std::vector<std::string> peer; // fixture and arguments; empty: nothing listens
    std::vector<std::string> said; // all of these, in this order of importance
    std::string host = "127.0.0.1";
    const char* user = "alice";
    const char* password = "secret";
    bool passive = true;
    const char* folder = "/";
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FtpFailures : public ::testing::TestWithParam<FailureCase> {
protected:
    corvane::ScopedNetTimeouts m_quick{{1500ms, 1500ms}};
};

// clang-format off
const FailureCase kFailures[] = {
    {"Refused", {}, {"Connecting failed: ", "refused the connection", "Check the host name and the port"}},
    {"ConnectTimeout", {"fault_server.py", "full"}, {"Connecting failed: ", "did not answer within", "firewall"}},
    {"UnknownHost", {}, {"Finding the server failed: ", "\"no-such-host.invalid\" is unknown", "Check the host name"},
     "no-such-host.invalid"},
    // Another protocol's greeting is named at once, long before any timeout.
    {"NotFtp", {"fault_server.py", "ssh"}, {"Greeting failed: ", "is not an FTP server's", "\"SSH-2.0-OpenSSH_9.2p1"}},
    {"SilentGreeting", {"fault_server.py", "hang"}, {"Greeting failed: ", "took the connection but did not answer within"}},
    {"LoginRefused", {"ftp_server.py", "--user", "alice:right"},
     {"Login failed: ", "refused the user \"alice\"", "Check the user name and the password",
      "The server said: \"530 Authentication failed.\""}, "127.0.0.1", "alice", "wrong"},
    {"TlsRequired", {"ftp_server.py", "--user", "alice:secret", "--tls-required"},
     {"Login failed: ", "requires an encrypted (TLS) connection", "so it cannot use this server as configured",
      "The server said: \"550 SSL/TLS required"}},
    {"TooManyConnections", {"fault_server.py", "busy"},
     {"Greeting failed: ", "has too many connections open", "Try again later", "421 Too many connections"}},
    {"FolderMissing", {"fault_server.py", "list", "unix"},
     {"Opening the folder failed: ", "the folder \"/pub/missing-folder\" is missing on the server",
      "or the user \"alice\" may not open it", "550 /pub/missing-folder: No such folder."},
     "127.0.0.1", "alice", "secret", true, "/pub/missing-folder"},
    {"ListingNotPermitted", {"ftp_server.py", "--no-list-user", "bob:secret"},
     {"Listing failed: ", "refused to list the folder \"/\" for the user \"bob\"", "550 Not enough privileges."},
     "127.0.0.1", "bob"},
    {"PassiveDataRefused", {"fault_server.py", "bad-data-port"},
     {"Data connection failed: ", "could not be reached", "passive address setting", "or use active mode"}},
    {"PassiveDataTimeout", {"fault_server.py", "silent-data-port"},
     {"Data connection failed: ", "did not answer within", "passive address setting", "or use active mode"}},
    {"ActiveDataFailed", {"fault_server.py", "no-connect-back"},
     {"Data connection failed: ", "(active mode)", "firewall here", "or use passive mode", "425 Can't open data connection."},
     "127.0.0.1", "alice", "secret", false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, FtpFailures, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(FtpFailures, NameTheirStageAndTheNextStep) {
    const FailureCase& c = GetParam();
    std::unique_ptr<CPeer> peer;
    int port = UnusedPort();
    if (!c.peer.empty()) {
        peer = std::make_unique<CPeer>(Peer(c.peer[0], {c.peer.begin() + 1, c.peer.end()}));
        ASSERT_TRUE(peer->Ok()) << peer->Error();
        port = peer->Port();
    }
    CConnectionInfo connection = LoopbackConnection(port, false, c.user, c.password, c.passive);
    connection.m_strHost = c.host;
    CRemoteFolderSession session;
    const auto start = std::chrono::steady_clock::now();
    const auto result = session.Test(connection, {}, c.folder);
    // In time: another protocol at once, the rest within a few timeouts.
    EXPECT_LT(std::chrono::steady_clock::now() - start, c.name == std::string("NotFtp") ? 1000ms : 6000ms);
    ASSERT_FALSE(result);
    EXPECT_THAT(result.strError, StartsWith(c.said[0]));
    for (const std::string& words : c.said)
        EXPECT_THAT(result.strError, HasSubstr(words));
    if (c.host == "127.0.0.1") {
        EXPECT_THAT(result.strError, HasSubstr("\"127.0.0.1\" on port " + std::to_string(port)));
    }
    // The library's own words never reach a person, nor does the password.
    for (const char* libraryWords : {"RETR response", "Server denied you", "Couldn't", "Access denied: 530",
                                     "server reply:", "Failed to connect", c.password})
        EXPECT_THAT(result.strError, Not(HasSubstr(libraryWords)));
    // The transcript of the failed attempt ends in the failed stage.
    const auto transcript = session.GetTranscript();
    ASSERT_FALSE(transcript.empty());
    EXPECT_THAT(transcript.back(), HasSubstr(" failed after "));
}

// Text from outside is masked before it is cut: an echoed password near the cut never shows
// half of itself.
TEST(FtpSecrets, AreMaskedBeforeTheTextIsCut) {
    CPeer server(Peer("fault_server.py", {"list", "unix"}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    const std::string password = "S3cretPW1";
    for (const std::size_t pad : {440u, 470u, 500u}) {
        CRemoteFolderSession session;
        const std::string folder = "/missing-" + std::string(pad, 'a') + password + std::string(40, 'b');
        const auto result =
            session.Test(LoopbackConnection(server.Port(), false, "alice", password), {}, folder);
        ASSERT_FALSE(result);
        EXPECT_THAT(result.strError, StartsWith("Opening the folder failed: "));
        EXPECT_THAT(result.strError, Not(HasSubstr("S3cr"))) << pad;
    }
}

// A server behind NAT that announces a private address for PASV still lists (the library
// asks EPSV first), so the test passes, with a warning naming the address.
TEST(FtpPassiveAddress, AnAddressOtherThanTheOneReachedIsAWarning) {
    CPeer natted(Peer("ftp_server.py", {"--user", "alice:secret", "--tree", "--masquerade", "10.0.0.5"}));
    CPeer plain(Peer("ftp_server.py", {"--user", "alice:secret", "--tree"}));
    ASSERT_TRUE(natted.Ok() && plain.Ok()) << natted.Error() << plain.Error();
    for (const bool builtIn : {false, true}) {
        SCOPED_TRACE(WayName(builtIn));
        CRemoteFolderSession session;
        ASSERT_TRUE(session.Test(LoopbackConnection(natted.Port(), builtIn), {}, "/pub"));
        const auto warnings = session.GetWarnings();
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_THAT(warnings[0], AllOf(HasSubstr("passive address 10.0.0.5 (a private address)"),
                                       HasSubstr("reached at 127.0.0.1")));
        CRemoteFolderSession honest;
        ASSERT_TRUE(honest.Test(LoopbackConnection(plain.Port(), builtIn), {}, "/pub"));
        EXPECT_THAT(honest.GetWarnings(), ::testing::IsEmpty());
        // Active mode sends no PASV and warns of nothing.
        CRemoteFolderSession active;
        ASSERT_TRUE(
            active.Test(LoopbackConnection(natted.Port(), builtIn, "alice", "secret", false), {}, "/pub"));
        EXPECT_THAT(active.GetWarnings(), ::testing::IsEmpty());
    }
}

// The transcript: stages with their times, commands and replies, the password masked.
TEST(FtpTranscript, ShowsStagesCommandsAndRepliesWithoutSecrets) {
    CPeer server(Peer("ftp_server.py", {"--user", "alice:s3cr3t", "--tree"}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    for (const bool builtIn : {false, true}) {
        CRemoteFolderSession session;
        ASSERT_TRUE(session.Test(LoopbackConnection(server.Port(), builtIn, "alice", "s3cr3t"), {}, "/pub"));
        const auto transcript = session.GetTranscript();
        const auto has = [&](const std::string& text) { return Contains(HasSubstr(text)); };
        EXPECT_THAT(transcript, has("-- connecting: the server \"127.0.0.1\" on port " +
                                    std::to_string(server.Port()) + ", directly"));
        for (const char* line : {"-- connecting", "-- greeting", "< 220 ", "-- login", "> USER alice",
                                 "> PASS ********", "< 230 ", "> PASV", "-- opening the folder", "> CWD /pub",
                                 "-- data connection", "> EPSV", "-- listing", "-- listing took "})
            EXPECT_THAT(transcript, has(line)) << WayName(builtIn);
        EXPECT_THAT(transcript, Not(has("s3cr3t")));
        EXPECT_THAT(transcript.front(), ::testing::MatchesRegex(" *[0-9]+ ms  -- .*"));
    }
}

// A login folder whose name has quotes comes back from PWD with them doubled.
TEST(FtpSessionCore, PwdRepliesWithDoubledQuotes) {
    CPeer server(Peer("fault_server.py", {"quoted-pwd"}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    CFtpSessionOptions options;
    options.strHost = "127.0.0.1";
    options.nPort = static_cast<std::uint16_t>(server.Port());
    options.strUser = "alice";
    options.strPassword = "secret";
    CFtpSession session;
    session.Open(options);
    EXPECT_EQ(session.GetCurrentDirectory(), "/a \"quoted\" dir");
}

} // namespace
