// Both ways of reaching an FTP server, the "Kestrel.CoFTP" component and the built-in
// client, against real peers on loopback: logins, modes, failures, proxies, the transcript.
#include "../common/FtpPeers.h"

#include "platform/NetTimeouts.h"
#include "platform/StandardComponents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using namespace ftptest;
using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// For every test of this program: the standard components, short timeouts, and none of the
// machine's proxy settings (a test that wants a proxy sets its own).
class NetTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        corvane::RegisterStandardComponents();
        corvane::SetNetTimeouts({4000ms, 4000ms});
        for (const char* name : {"ftp_proxy", "all_proxy", "no_proxy"})
            ::unsetenv(name);
    }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new NetTestEnvironment);

INSTANTIATE_TEST_SUITE_P(, FtpWays, ::testing::Bool(), [](const auto& info) { return WayName(info.param); });

// One server for every login: a wrong password, anonymous, and a password in either mode
// through a one-port passive range, each listing a folder of five thousand entries.
TEST_P(FtpWays, LoginsInEitherModeListABigFolder) {
    const std::string one = std::to_string(UnusedPort());
    CPeer server(Peer("ftp_server.py", {"--tree", "--big", "5000", "--user", "alice:secret", "--anonymous",
                                        "--passive-ports", one + "-" + one}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    // A refused login leaves the session to try again (its words: FtpFailures/LoginRefused).
    CRemoteFolderSession probe;
    EXPECT_NE(OpenError(probe, LoopbackConnection(server.Port(), BuiltIn(), "alice", "wrong")), "");
    EXPECT_FALSE(probe.IsOpen());

    CConnectionInfo defaults; // "anonymous" with the default password
    defaults.m_nPort = server.Port();
    defaults.m_bUseWinInet = BuiltIn();
    EXPECT_EQ(OpenError(probe, defaults), "");
    EXPECT_THAT(FolderNames(List(probe, "/pub")), Contains("data"));
    probe.Close();
    EXPECT_FALSE(probe.IsOpen());

    for (const bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        CRemoteFolderSession session;
        ASSERT_EQ(
            OpenError(session, LoopbackConnection(server.Port(), BuiltIn(), "alice", "secret", passive)), "");
        const auto items = List(session, "/big");
        EXPECT_EQ(items.size(), 5000u);
        EXPECT_EQ(FolderNames(items).size(), 500u);
    }
}

// Credentials leave as the project's Windows-1252 bytes, not re-encoded.
TEST_P(FtpWays, CredentialsLeaveAsTheProjectsBytes) {
    const std::string user = "j\xfcrgen", password = "s\xe9same \x80";
    CPeer server(Peer("fault_server.py", {"list", "unix", "--login", user, password}));
    ASSERT_TRUE(server.Ok());
    CRemoteFolderSession probe;
    EXPECT_EQ(OpenError(probe, LoopbackConnection(server.Port(), BuiltIn(), user, password)), "");
    CRemoteFolderSession utf8;
    EXPECT_NE(
        OpenError(utf8, LoopbackConnection(server.Port(), BuiltIn(), user, "s\xc3\xa9same \xe2\x82\xac")),
        "");
}

TEST_P(FtpWays, ClosingASilentSessionTakesAtMostTheResponseTime) {
    CPeer mute(Peer("fault_server.py", {"mute"}));
    ASSERT_TRUE(mute.Ok()) << mute.Error();
    corvane::ScopedNetTimeouts quick({1000ms, 1000ms});
    CRemoteFolderSession probe;
    ASSERT_EQ(OpenError(probe, LoopbackConnection(mute.Port(), BuiltIn())), "");
    const auto start = std::chrono::steady_clock::now();
    probe.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

// --- Proxies -------------------------------------------------------------------------

struct ProxyCase {
    const char* name;
    std::vector<std::string> peer; // fixture and arguments
    std::int32_t recordType;       // CProxySettings codes
    const char* envScheme;         // for the built-in client
    const char* user = "";
    const char* password = "";
};
// Its name, so that test names are stable (gtest would print its bytes).
void PrintTo(const ProxyCase& c, std::ostream* os) {
    *os << c.name;
}

class FtpProxies : public ::testing::TestWithParam<std::tuple<bool, ProxyCase>> {};

using P = CProxySettings;
const ProxyCase kProxies[] = {
    {"Socks5Microsocks", {"proxy.py", "microsocks"}, P::typeSocks5, "socks5h"},
    {"Socks5Password", {"proxy.py", "microsocks", "--user", "bob:pw"}, P::typeSocks5, "socks5h", "bob", "pw"},
    {"Socks5Dante", {"proxy.py", "dante"}, P::typeSocks5, "socks5"},
    {"Socks4Dante", {"proxy.py", "dante"}, P::typeSocks4, "socks4"},
    {"Socks4A", {"fault_server.py", "socks4a"}, P::typeSocks4A, "socks4a"},
    {"HttpTinyproxy", {"proxy.py", "tinyproxy"}, P::typeHttp, "http"},
};

INSTANTIATE_TEST_SUITE_P(, FtpProxies, ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kProxies)),
                         [](const auto& info) {
                             return WayName(std::get<0>(info.param)) + std::get<1>(info.param).name;
                         });

// Through the proxy, and not without it: with the proxy gone, or a wrong password, it fails.
TEST_P(FtpProxies, ListsThroughTheProxyAndOnlyThroughIt) {
    // Not a structured binding: the lambda below captures `pc`, which clang 14 refuses for bindings.
    const bool builtIn = std::get<0>(GetParam());
    const ProxyCase& pc = std::get<1>(GetParam());
    CPeer server(Peer("ftp_server.py", {"--tree", "--user", "alice:secret"}));
    CPeer proxy(Peer(pc.peer[0], std::vector<std::string>(pc.peer.begin() + 1, pc.peer.end())));
    ASSERT_TRUE(server.Ok() && proxy.Ok()) << server.Error() << proxy.Error();

    CConnectionInfo c = LoopbackConnection(server.Port(), builtIn);
    // The server is named so that only the proxy's own resolution or ours can find it.
    c.m_strHost = pc.recordType == CProxySettings::typeSocks4 ? "127.0.0.1" : "localhost";
    c.m_bUseProxy = true;
    CProxySettings settings;
    settings.m_nType = pc.recordType;
    settings.m_strHost = "127.0.0.1";
    settings.m_strUser = pc.user;
    const auto attempt = [&](int port, const std::string& password) {
        settings.m_nPort = port;
        settings.m_strPassword = password;
        const std::string credentials = *pc.user ? pc.user + (":" + password + "@") : "";
        CEnvOverride env("ftp_proxy",
                         pc.envScheme + ("://" + credentials + "127.0.0.1:" + std::to_string(port)));
        CRemoteFolderSession probe;
        const std::string error = OpenError(probe, c, settings);
        if (error.empty()) {
            EXPECT_THAT(FolderNames(List(probe, "/pub")), Contains("data"));
        }
        return error;
    };
    EXPECT_EQ(attempt(proxy.Port(), pc.password), "");
    EXPECT_NE(attempt(UnusedPort(), pc.password), "");
    if (*pc.user) {
        EXPECT_NE(attempt(proxy.Port(), "nope"), "");
    }
}

TEST(FtpBuiltIn, NoProxyBypassesTheEnvironmentsProxy) {
    CPeer server(Peer("ftp_server.py", {"--user", "alice:secret"}));
    ASSERT_TRUE(server.Ok());
    CEnvOverride env("ftp_proxy", "socks5h://127.0.0.1:" + std::to_string(UnusedPort()));
    CRemoteFolderSession probe;
    EXPECT_NE(OpenError(probe, LoopbackConnection(server.Port(), true)), "") << "the dead proxy was used";
    CEnvOverride bypass("no_proxy", "127.0.0.1");
    EXPECT_EQ(OpenError(probe, LoopbackConnection(server.Port(), true)), "");
}

TEST(FtpTranscript, MasksProxyCredentials) {
    CPeer server(Peer("ftp_server.py", {"--user", "alice:secret"}));
    CPeer proxy(Peer("proxy.py", {"tinyproxy"}));
    ASSERT_TRUE(server.Ok() && proxy.Ok());
    CConnectionInfo c = LoopbackConnection(server.Port(), false);
    c.m_bUseProxy = true;
    CProxySettings settings;
    settings.m_nType = CProxySettings::typeHttp;
    settings.m_strHost = "127.0.0.1";
    settings.m_nPort = proxy.Port();
    settings.m_strUser = "bob";
    settings.m_strPassword = "pw";
    CRemoteFolderSession probe;
    ASSERT_EQ(OpenError(probe, c, settings), "");
    // The password's own line: FtpTranscript.ShowsStagesCommandsAndRepliesWithoutSecrets.
    const auto& log = ComponentSession(probe).GetCommandLog();
    EXPECT_THAT(log, Contains("Proxy-Authorization: Basic ********"));
    EXPECT_THAT(log, Not(Contains(HasSubstr("Ym9iOnB3")))) << "bob:pw in Base64";
}

} // namespace
