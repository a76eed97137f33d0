// Both ways of reaching an FTP server, the "Kestrel.CoFTP" component and the built-in
// client, against real peers on loopback: login, failures, modes, listings, proxies.
#include "../common/EnvOverride.h"
#include "FtpPeers.h"

#include "platform/CCoFtp.h"
#include "platform/CFtpConnection.h"
#include "platform/CFtpFileFind.h"
#include "platform/CInternetException.h"
#include "platform/CRemoteFolderSession.h"
#include "platform/CoFtpDispIds.h"
#include "platform/NetTimeouts.h"
#include "platform/StandardComponents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

using ftptest::CPeer;
using ftptest::Fixture;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr bool kComponent = false;
constexpr bool kBuiltIn = true;

class Timeouts : public ::testing::Environment {
public:
    void SetUp() override {
        corvane::RegisterStandardComponents();
        corvane::SetNetTimeouts({std::chrono::milliseconds(4000), std::chrono::milliseconds(4000)});
    }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new Timeouts);

std::vector<std::string> FtpArgs(std::vector<std::string> extra) {
    extra.insert(extra.begin(), Fixture("ftp_server.py"));
    return extra;
}

CConnectionInfo Connection(int port, bool builtIn, const std::string& user = "alice",
                           const std::string& password = "secret", bool passive = true) {
    CConnectionInfo c;
    c.m_strHost = "127.0.0.1";
    c.m_nPort = port;
    c.m_strUser = user;
    c.m_strPassword = password;
    c.m_bPassive = passive;
    c.m_bUseWinInet = builtIn;
    return c;
}

using Rule = CRemoteFolderSession::ProxyRule;

std::vector<std::string> FolderNames(const std::vector<CRemoteItem>& items) {
    std::vector<std::string> out;
    for (const auto& i : items)
        if (i.kind == CRemoteItem::Kind::folder)
            out.push_back(i.strName);
    return out;
}

std::vector<std::string> AllNames(const std::vector<CRemoteItem>& items) {
    std::vector<std::string> out;
    for (const auto& i : items)
        out.push_back(i.strName);
    return out;
}

std::string OpenError(CRemoteFolderSession& probe, const CConnectionInfo& c,
                      const CProxySettings& proxy = {}) {
    return probe.Open(c, proxy, Rule::connectionTest).strError;
}

// A listing that must succeed.
std::vector<CRemoteItem> List(CRemoteFolderSession& probe, const std::string& path) {
    std::vector<CRemoteItem> items;
    const auto result = probe.List(path, items);
    EXPECT_TRUE(result) << path << ": " << result.strError;
    return items;
}

std::string ListError(CRemoteFolderSession& probe, const std::string& path) {
    std::vector<CRemoteItem> items;
    return probe.List(path, items).strError;
}

class FtpWays : public ::testing::TestWithParam<bool> {
protected:
    bool BuiltIn() const { return GetParam(); }
    // Proxy variables of the machine running the tests must not leak into direct cases.
    CEnvOverride m_noFtpProxy{"ftp_proxy", ""};
    CEnvOverride m_noAllProxy{"all_proxy", ""};
};

std::string WayName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "BuiltIn" : "Component";
}

INSTANTIATE_TEST_SUITE_P(, FtpWays, ::testing::Values(kComponent, kBuiltIn), WayName);

TEST_P(FtpWays, LogsInAndListsFoldersWithAwkwardNames) {
    CPeer server(FtpArgs({"--tree", "--user", "alice:secret"}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    CRemoteFolderSession probe;
    ASSERT_TRUE(probe.Open(Connection(server.Port(), BuiltIn()), {}, Rule::connectionTest));
    ASSERT_TRUE(probe.IsOpen());

    const auto root = List(probe, "/");
    const auto folders = FolderNames(root);
    EXPECT_THAT(folders, AllOf(Contains("pub"), Contains("folder with spaces"), Contains("trailing space "),
                               Contains("hash#and%percent"), Contains("empty")));
    EXPECT_THAT(folders, Not(Contains("file at root.txt")));
    EXPECT_THAT(AllNames(root), Contains("file at root.txt"));
    const auto pub =
        std::find_if(root.begin(), root.end(), [](const CRemoteItem& i) { return i.strName == "pub"; });
    ASSERT_NE(pub, root.end());
    EXPECT_EQ(pub->strPath, "/pub");

    // Every folder a listing produced can be entered, whatever its name holds on the wire.
    EXPECT_THAT(FolderNames(List(probe, "/folder with spaces")), Contains("inner  two  spaces"));
    EXPECT_THAT(FolderNames(List(probe, "/folder with spaces/inner  two  spaces/")), ::testing::IsEmpty());
    List(probe, "/hash#and%percent/");
    List(probe, "/trailing space /");
    const auto data = List(probe, "/pub/data/");
    EXPECT_THAT(FolderNames(data), ::testing::ElementsAre("deep"));
    EXPECT_THAT(AllNames(data), Contains("values.csv"));
    EXPECT_EQ(data.front().strPath.rfind("/pub/data/", 0), 0u);
    probe.Close();
    EXPECT_FALSE(probe.IsOpen());
}

TEST_P(FtpWays, AnonymousLogin) {
    CPeer server(FtpArgs({"--tree", "--anonymous"}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    CConnectionInfo defaults; // "anonymous" with the default password
    defaults.m_nPort = server.Port();
    defaults.m_bUseWinInet = BuiltIn();
    CRemoteFolderSession probe;
    EXPECT_EQ(OpenError(probe, defaults), "");
    EXPECT_THAT(FolderNames(List(probe, "/pub")), Contains("data"));
}

TEST_P(FtpWays, WrongPasswordGivesTheServersReply) {
    CPeer server(FtpArgs({"--user", "alice:secret"}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    CRemoteFolderSession probe;
    const std::string error = OpenError(probe, Connection(server.Port(), BuiltIn(), "alice", "wrong"));
    EXPECT_THAT(error, AllOf(HasSubstr("530"), HasSubstr("Authentication failed")));
    EXPECT_THAT(error, Not(HasSubstr("wrong"))) << "the password never shows";
    EXPECT_FALSE(probe.IsOpen());
}

// The first-day mistakes, a wrong port or host, said in plain words; a port that speaks
// another protocol is named as such at once rather than after the timeout.
TEST_P(FtpWays, RefusedPortUnknownHostAndOtherProtocolsAreSaidPlainly) {
    CRemoteFolderSession probe;
    const int unused = ftptest::UnusedPort();
    EXPECT_EQ(OpenError(probe, Connection(unused, BuiltIn())),
              "Could not connect to the server \"127.0.0.1\" on port " + std::to_string(unused) +
                  ": the connection was refused.");
    CConnectionInfo unknown = Connection(21, BuiltIn());
    unknown.m_strHost = "no-such-host.invalid";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(OpenError(probe, unknown),
              "The server \"no-such-host.invalid\" was not found: the host name is unknown.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    CPeer ssh({Fixture("fault_server.py"), "ssh"});
    ASSERT_TRUE(ssh.Ok()) << ssh.Error();
    start = std::chrono::steady_clock::now();
    EXPECT_THAT(OpenError(probe, Connection(ssh.Port(), BuiltIn())),
                AllOf(HasSubstr("is not an FTP server's"), HasSubstr("\"SSH-2.0-OpenSSH_9.2p1")));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_P(FtpWays, HungServerEndsInAnErrorWithinTheTimeout) {
    CPeer hung({Fixture("fault_server.py"), "hang"});
    ASSERT_TRUE(hung.Ok()) << hung.Error();
    corvane::ScopedNetTimeouts quick({std::chrono::milliseconds(1500), std::chrono::milliseconds(1500)});
    CRemoteFolderSession probe;
    const auto start = std::chrono::steady_clock::now();
    const std::string error = OpenError(probe, Connection(hung.Port(), BuiltIn()));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_THAT(error, HasSubstr("took the connection but did not answer within"));
    EXPECT_GE(elapsed, std::chrono::milliseconds(1000));
    EXPECT_LT(elapsed, std::chrono::seconds(6));
}

TEST_P(FtpWays, ActiveModeAndPassivePortRange) {
    const int lo = ftptest::UnusedPort();
    CPeer server(FtpArgs({"--tree", "--user", "alice:secret", "--passive-ports",
                          std::to_string(lo) + "-" + std::to_string(lo)}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    for (const bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        CRemoteFolderSession probe;
        ASSERT_TRUE(probe.Open(Connection(server.Port(), BuiltIn(), "alice", "secret", passive), {},
                               Rule::connectionTest));
        EXPECT_THAT(FolderNames(List(probe, "/pub")), Contains("data"));
        EXPECT_THAT(FolderNames(List(probe, "/pub/data")), Contains("deep"));
    }
}

TEST_P(FtpWays, FolderOfFiveThousandEntries) {
    CPeer server(FtpArgs({"--big", "5000", "--user", "alice:secret"}));
    ASSERT_TRUE(server.Ok()) << server.Error();
    CRemoteFolderSession probe;
    ASSERT_TRUE(probe.Open(Connection(server.Port(), BuiltIn()), {}, Rule::connectionTest));
    const auto items = List(probe, "/big");
    EXPECT_EQ(items.size(), 5000u);
    EXPECT_EQ(FolderNames(items).size(), 500u);
}

TEST_P(FtpWays, NamesGoBackInTheServersBytesAndThoseThatReadAlikeStayApart) {
    CPeer server({Fixture("fault_server.py"), "list", "names"});
    ASSERT_TRUE(server.Ok());
    CRemoteFolderSession probe;
    ASSERT_TRUE(probe.Open(Connection(server.Port(), BuiltIn()), {}, Rule::connectionTest));
    const auto items = List(probe, "/x");
    EXPECT_THAT(FolderNames(items), ::testing::ElementsAre("Caf\xc3\xa9",
                                                           "Stra\xdf"
                                                           "e",
                                                           "Caf\xe9"));
    // The server names, inside, the bytes of the folder it was asked for.
    for (const auto& [path, inside] : {std::pair("/x/Caf\xc3\xa9", "in 436166c3a9"),
                                       std::pair("/x/Stra\xdf"
                                                 "e",
                                                 "in 53747261df65"),
                                       std::pair("/x/Caf\xe9", "in 436166e9")})
        EXPECT_THAT(FolderNames(List(probe, path)), ::testing::ElementsAre(inside)) << path;
}

TEST_P(FtpWays, RefusedAndUnreadableFoldersFailAnEmptyOneDoesNot) {
    CPeer server({Fixture("fault_server.py"), "list", "unix"});
    CPeer garbage({Fixture("fault_server.py"), "list", "garbage"});
    CPeer empty({Fixture("fault_server.py"), "list", "empty"});
    ASSERT_TRUE(server.Ok() && garbage.Ok() && empty.Ok());
    CRemoteFolderSession probe;
    ASSERT_TRUE(probe.Open(Connection(server.Port(), BuiltIn()), {}, Rule::connectionTest));
    // The server's words reach the operator in its bytes, UTF-8 ("Документы") or not.
    for (const std::string folder :
         {"/missing-\xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b",
          "/missing-Stra\xdf"
          "e"})
        EXPECT_THAT(ListError(probe, folder), HasSubstr("550 " + folder + ": No such folder.")) << folder;
    // The session survives the refusal.
    EXPECT_FALSE(List(probe, "/x").empty());
    CRemoteFolderSession unreadable;
    ASSERT_TRUE(unreadable.Open(Connection(garbage.Port(), BuiltIn()), {}, Rule::connectionTest));
    EXPECT_THAT(ListError(unreadable, "/\xd0\x94\xd0\xbe\xd0\xba"),
                HasSubstr("\"/\xd0\x94\xd0\xbe\xd0\xba\" could not be read"));
    CRemoteFolderSession nothing;
    ASSERT_TRUE(nothing.Open(Connection(empty.Port(), BuiltIn()), {}, Rule::connectionTest));
    EXPECT_TRUE(List(nothing, "/x").empty());
}

// --- Proxies -------------------------------------------------------------------------

struct ProxyCase {
    const char* name;
    std::vector<std::string> peer; // fixture and arguments
    std::int32_t recordType;       // CProxySettings codes
    const char* envScheme;         // for the built-in client
    const char* user;
    const char* password;
};
// Its name, so that test names are stable (gtest would print its bytes).
void PrintTo(const ProxyCase& c, std::ostream* os) {
    *os << c.name;
}

class FtpProxies : public ::testing::TestWithParam<std::tuple<bool, ProxyCase>> {
protected:
    CEnvOverride m_noFtpProxy{"ftp_proxy", ""};
    CEnvOverride m_noAllProxy{"all_proxy", ""};
    CEnvOverride m_noNoProxy{"no_proxy", ""};
};

std::vector<ProxyCase> ProxyCases() {
    return {
        {"Socks5Microsocks", {"proxy.py", "microsocks"}, CProxySettings::typeSocks5, "socks5h", "", ""},
        {"Socks5MicrosocksPassword",
         {"proxy.py", "microsocks", "--user", "bob:pw"},
         CProxySettings::typeSocks5,
         "socks5h",
         "bob",
         "pw"},
        {"Socks5Dante", {"proxy.py", "dante"}, CProxySettings::typeSocks5, "socks5", "", ""},
        {"Socks4Dante", {"proxy.py", "dante"}, CProxySettings::typeSocks4, "socks4", "", ""},
        {"Socks4A", {"fault_server.py", "socks4a"}, CProxySettings::typeSocks4A, "socks4a", "", ""},
        {"HttpTinyproxy", {"proxy.py", "tinyproxy"}, CProxySettings::typeHttp, "http", "", ""},
    };
}

std::string ProxyName(const ::testing::TestParamInfo<std::tuple<bool, ProxyCase>>& info) {
    return std::string(std::get<0>(info.param) ? "BuiltIn" : "Component") + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(, FtpProxies,
                         ::testing::Combine(::testing::Values(kComponent, kBuiltIn),
                                            ::testing::ValuesIn(ProxyCases())),
                         ProxyName);

TEST_P(FtpProxies, ListsThroughTheProxy) {
    const auto& [builtIn, pc] = GetParam();
    CPeer server(FtpArgs({"--tree", "--user", "alice:secret"}));
    std::vector<std::string> args = pc.peer;
    args[0] = Fixture(args[0]);
    CPeer proxy(args);
    ASSERT_TRUE(server.Ok() && proxy.Ok()) << server.Error() << proxy.Error();

    CConnectionInfo c = Connection(server.Port(), builtIn);
    // The server is named so that only the proxy's own resolution or ours can find it.
    c.m_strHost = pc.recordType == CProxySettings::typeSocks4 ? "127.0.0.1" : "localhost";
    CProxySettings settings;
    settings.m_nType = pc.recordType;
    settings.m_strHost = "127.0.0.1";
    settings.m_nPort = proxy.Port();
    settings.m_strUser = pc.user;
    settings.m_strPassword = pc.password;
    c.m_bUseProxy = true;

    std::string credentials = *pc.user ? std::string(pc.user) + ":" + pc.password + "@" : std::string();
    CEnvOverride env("ftp_proxy", std::string(pc.envScheme) + "://" + credentials +
                                      "127.0.0.1:" + std::to_string(proxy.Port()));
    {
        CRemoteFolderSession probe;
        ASSERT_TRUE(probe.Open(c, settings, Rule::connectionTest));
        EXPECT_THAT(FolderNames(List(probe, "/pub")), Contains("data"));
    }
    // The same with the proxy gone: the connection really went through it.
    const int deadPort = ftptest::UnusedPort();
    settings.m_nPort = deadPort;
    CEnvOverride deadEnv("ftp_proxy", std::string(pc.envScheme) + "://127.0.0.1:" + std::to_string(deadPort));
    CRemoteFolderSession probe;
    EXPECT_NE(OpenError(probe, c, settings), "");
}

TEST(FtpProxy, WrongProxyPasswordFails) {
    CPeer server(FtpArgs({"--user", "alice:secret"}));
    CPeer proxy({Fixture("proxy.py"), "microsocks", "--user", "bob:pw"});
    ASSERT_TRUE(server.Ok() && proxy.Ok());
    CConnectionInfo c = Connection(server.Port(), kComponent);
    c.m_bUseProxy = true;
    CProxySettings settings;
    settings.m_nType = CProxySettings::typeSocks5;
    settings.m_strHost = "127.0.0.1";
    settings.m_nPort = proxy.Port();
    settings.m_strUser = "bob";
    settings.m_strPassword = "nope";
    CRemoteFolderSession probe;
    EXPECT_NE(OpenError(probe, c, settings), "");
    // The project's proxy is not used when the connection says so.
    c.m_bUseProxy = false;
    EXPECT_EQ(OpenError(probe, c, settings), "");
}

TEST(FtpBuiltIn, NoProxyBypassesTheEnvironmentsProxy) {
    CPeer server(FtpArgs({"--user", "alice:secret", "--tree"}));
    ASSERT_TRUE(server.Ok());
    CEnvOverride env("ftp_proxy", "socks5h://127.0.0.1:" + std::to_string(ftptest::UnusedPort()));
    CRemoteFolderSession probe;
    EXPECT_NE(OpenError(probe, Connection(server.Port(), kBuiltIn)), "") << "the dead proxy was used";
    CEnvOverride bypass("no_proxy", "127.0.0.1");
    EXPECT_EQ(OpenError(probe, Connection(server.Port(), kBuiltIn)), "");
}

// --- What goes over the wire -----------------------------------------------------------

CFtpSession& ComponentSession(CRemoteFolderSession& probe) {
    auto* component = dynamic_cast<CCoFtp*>(probe.GetComponent().get());
    if (!component || !component->GetSession())
        throw std::runtime_error("no component session");
    return *component->GetSession();
}

TEST(FtpWire, OneExpansionSendsOnlyWhatTheListingNeeds) {
    CPeer server(FtpArgs({"--tree", "--user", "alice:secret"}));
    ASSERT_TRUE(server.Ok());
    CRemoteFolderSession probe;
    ASSERT_TRUE(probe.Open(Connection(server.Port(), kComponent), {}, Rule::folderBrowser));
    CFtpSession& session = ComponentSession(probe);
    List(probe, "/");
    session.ClearCommandLog();
    List(probe, "/pub/data/");
    EXPECT_THAT(session.GetCommandLog(), ::testing::ElementsAre("CWD /pub/data", "EPSV", "MLSD"));
    session.ClearCommandLog();
    List(probe, "/folder with spaces");
    EXPECT_THAT(session.GetCommandLog(), ::testing::ElementsAre("CWD /folder with spaces", "EPSV", "MLSD"));
}

TEST(FtpWire, FallsBackToListAndToPasv) {
    CPeer refused({Fixture("fault_server.py"), "mlsd-refused"});
    CPeer noEpsv({Fixture("fault_server.py"), "no-epsv"});
    ASSERT_TRUE(refused.Ok() && noEpsv.Ok());
    {
        CRemoteFolderSession probe;
        ASSERT_TRUE(probe.Open(Connection(refused.Port(), kComponent), {}, Rule::connectionTest));
        EXPECT_FALSE(List(probe, "/a").empty());
        CFtpSession& session = ComponentSession(probe);
        session.ClearCommandLog();
        EXPECT_FALSE(List(probe, "/b").empty());
        EXPECT_THAT(session.GetCommandLog(), AllOf(Contains("LIST -a"), Not(Contains("MLSD"))));
    }
    CRemoteFolderSession probe;
    ASSERT_TRUE(probe.Open(Connection(noEpsv.Port(), kComponent), {}, Rule::connectionTest));
    EXPECT_FALSE(List(probe, "/a").empty());
    EXPECT_THAT(ComponentSession(probe).GetCommandLog(), AllOf(Contains("EPSV"), Contains("PASV")));
}

// --- The built-in client's finder --------------------------------------------------------

TEST(FtpBuiltIn, FinderWalksLikeTheSystemClient) {
    CPeer server({Fixture("fault_server.py"), "list", "unix"});
    ASSERT_TRUE(server.Ok());
    CInternetSession session;
    auto connection = session.GetFtpConnection("127.0.0.1", "u", "p", server.Port(), true);
    std::string dir;
    ASSERT_TRUE(connection->GetCurrentDirectory(dir));
    EXPECT_EQ(dir, "/");
    ASSERT_TRUE(connection->SetCurrentDirectory("/x/y/"));
    ASSERT_TRUE(connection->GetCurrentDirectory(dir));
    EXPECT_EQ(dir, "/x/y");
    EXPECT_FALSE(connection->SetCurrentDirectory("missing"));
    EXPECT_THAT(connection->GetLastErrorText(), HasSubstr("550"));

    CFtpFileFind finder(connection.get());
    ASSERT_TRUE(finder.FindFile("*"));
    std::vector<std::string> names, paths;
    int dots = 0;
    bool more = true;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) {
            ++dots;
            continue;
        }
        names.push_back(finder.GetFileName());
        paths.push_back(finder.GetFilePath());
    }
    EXPECT_EQ(dots, 2);
    EXPECT_EQ(names.size(), 8u) << ::testing::PrintToString(names);
    EXPECT_THAT(paths, Contains("/x/y/no group dir"));
    EXPECT_FALSE(finder.FindNextFile()) << "past the end";
    EXPECT_TRUE(finder.FindFile("*.txt"));
    finder.FindNextFile();
    EXPECT_EQ(finder.GetFileName(), "old file.txt");
    EXPECT_FALSE(finder.FindFile("nothing*"));
    connection->Close();
    EXPECT_FALSE(connection->GetCurrentDirectory(dir));
}

} // namespace
