// The two FTP clients of the platform layer, the "Kestrel.CoFTP" component and the
// built-in client's finder, as they report to whoever drives them: links, names, listing
// failures, hidden folders, credentials and the transcript, against real and scripted peers.
#include "FtpPeers.h"

#include "platform/CCoFtp.h"
#include "platform/CFtpFileFind.h"
#include "platform/CInternetException.h"
#include "platform/CInternetSession.h"
#include "platform/COleDispatchDriver.h"
#include "platform/COleException.h"
#include "platform/CoFtpDispIds.h"
#include "platform/NetTimeouts.h"
#include "platform/StandardComponents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

using ftptest::CPeer;
using ftptest::Fixture;
using Status = CFtpFileFind::Status;
using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Pair;

namespace {

// Entry names with the component's kinds (the finder's IsLink gives 3, IsDirectory 2).
using Entries = std::vector<std::pair<std::string, std::int32_t>>;

struct Listed {
    Entries entries;
    Status status = Status::found;
    std::string error;
};

// One logged-in session through either client; `configure` sets further members of the component.
class CClient {
public:
    CClient(bool builtIn, int port, const std::string& user = "u", const std::string& password = "p",
            const std::function<void(COleDispatchDriver&)>& configure = {}) {
        corvane::RegisterStandardComponents();
        if (builtIn) {
            m_connection = m_internet.GetFtpConnection("127.0.0.1", user, password, port, true);
            return;
        }
        if (!m_ftp.CreateDispatch(coftp::kProgId))
            throw COleException("not created");
        m_ftp.SetProperty(coftp::dispidHost, std::string("127.0.0.1"));
        m_ftp.SetProperty(coftp::dispidPort, static_cast<std::int16_t>(port));
        m_ftp.SetProperty(coftp::dispidUser, user);
        m_ftp.SetProperty(coftp::dispidPassword, password);
        m_ftp.SetProperty(coftp::dispidPassive, std::int32_t{1});
        if (configure)
            configure(m_ftp);
        m_ftp.InvokeHelper(coftp::dispidConnect, InvokeKind::method);
        m_ftp.InvokeHelper(coftp::dispidLogin, InvokeKind::method);
    }

    Listed List(const std::string& path) {
        Listed out;
        if (m_connection) {
            if (!m_connection->SetCurrentDirectory(path))
                return {{}, Status::failed, m_connection->GetLastErrorText()};
            CFtpFileFind finder(m_connection.get());
            bool more = finder.FindFile("*");
            out.status = finder.GetStatus();
            out.error = more ? std::string() : finder.GetLastErrorText();
            while (more) {
                more = finder.FindNextFile();
                if (!finder.IsDots())
                    out.entries.emplace_back(finder.GetFileName(), finder.IsLink()        ? coftp::kindLink
                                                                   : finder.IsDirectory() ? coftp::kindFolder
                                                                                          : coftp::kindFile);
            }
            return out;
        }
        try {
            m_ftp.InvokeHelper(coftp::dispidChangeDirectory, InvokeKind::method, {path});
            m_ftp.InvokeHelper(coftp::dispidList, InvokeKind::method, {std::string("*")});
            COleDispatchDriver listing(
                std::get<std::shared_ptr<IDispatch>>(m_ftp.GetProperty(coftp::dispidListing)));
            const auto count = std::get<std::int32_t>(listing.GetProperty(coftp::dispidCount));
            for (std::int16_t i = 0; i < count; ++i) {
                COleDispatchDriver item(std::get<std::shared_ptr<IDispatch>>(
                    listing.InvokeHelper(coftp::dispidItem, InvokeKind::method, {i})));
                out.entries.emplace_back(std::get<std::string>(item.GetProperty(coftp::dispidName)),
                                         std::get<std::int32_t>(item.GetProperty(coftp::dispidKind)));
            }
            out.status = count ? Status::found : Status::noMatch;
        } catch (const COleDispatchException& e) {
            out.status =
                e.m_wCode == CInternetException::listingUnreadable ? Status::unreadable : Status::failed;
            out.error = e.m_strDescription;
        }
        return out;
    }

    void Close() {
        if (m_connection)
            m_connection->Close();
        else
            m_ftp.InvokeHelper(coftp::dispidDisconnect, InvokeKind::method);
    }

    CFtpSession& Session() {
        return m_connection ? *m_connection->GetSession()
                            : *dynamic_cast<CCoFtp&>(*m_ftp.GetDispatch()).GetSession();
    }

private:
    CInternetSession m_internet;
    std::unique_ptr<CFtpConnection> m_connection;
    COleDispatchDriver m_ftp;
};

std::vector<std::string> Args(std::string script, std::vector<std::string> args) {
    args.insert(args.begin(), Fixture(script));
    return args;
}

std::string WayName(bool builtIn) {
    return builtIn ? "BuiltIn" : "Component";
}

class FtpClients : public ::testing::TestWithParam<bool> {
protected:
    bool BuiltIn() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(, FtpClients, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return WayName(info.param); });

const std::string kCyrillic = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82";

TEST_P(FtpClients, LinksAreEnteredAndNamesKeepTheServersBytes) {
    for (const bool listOnly : {false, true}) {
        SCOPED_TRACE(listOnly ? "LIST" : "MLSD");
        std::vector<std::string> args = {"--tree", "--user", "alice:secret"};
        if (listOnly)
            args.push_back("--no-mlsd");
        CPeer server(Args("ftp_server.py", args));
        ASSERT_TRUE(server.Ok()) << server.Error();
        CClient client(BuiltIn(), server.Port(), "alice", "secret");
        const Listed root = client.List("/");
        // MLSD reports what a link leads to; LIST shows the link itself.
        EXPECT_THAT(root.entries, Contains(Pair("publink", listOnly ? coftp::kindLink : coftp::kindFolder)));
        EXPECT_THAT(root.entries, Contains(Pair("filelink", listOnly ? coftp::kindLink : coftp::kindFile)));
        EXPECT_THAT(root.entries, Contains(Pair("Stra\xdf"
                                                "e",
                                                coftp::kindFolder)));
        for (const std::string& name : {kCyrillic, std::string("Caf\xc3\xa9")}) {
            EXPECT_THAT(root.entries, Contains(Pair(name, coftp::kindFolder)));
            EXPECT_EQ(client.List("/" + name).status, Status::noMatch) << name;
        }
        EXPECT_THAT(client.List("/publink/").entries, Contains(Pair("data", coftp::kindFolder)));
        EXPECT_EQ(client.List("/filelink").status, Status::failed);
    }
}

TEST_P(FtpClients, ClosingASilentSessionTakesAtMostTheResponseTime) {
    CPeer mute(Args("fault_server.py", {"mute"}));
    ASSERT_TRUE(mute.Ok()) << mute.Error();
    corvane::ScopedNetTimeouts quick({1000ms, 1000ms});
    CClient client(BuiltIn(), mute.Port());
    const auto start = std::chrono::steady_clock::now();
    client.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST_P(FtpClients, HiddenFoldersAreAskedForAndARefusalIsRemembered) {
    CPeer plain(Args("fault_server.py", {"list", "unix"}));
    CPeer refusing(Args("fault_server.py", {"list", "unix", "--refuse-list-a"}));
    ASSERT_TRUE(plain.Ok() && refusing.Ok());
    EXPECT_THAT(CClient(BuiltIn(), plain.Port()).List("/x").entries,
                Contains(Pair(".well-known", coftp::kindFolder)));
    CClient client(BuiltIn(), refusing.Port());
    for (int i = 0; i < 2; ++i) {
        const Listed listed = client.List("/x");
        EXPECT_EQ(listed.status, Status::found) << listed.error;
        EXPECT_THAT(listed.entries, Contains(Pair("no group dir", coftp::kindFolder)));
    }
    const auto& log = client.Session().GetCommandLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "LIST -a"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "LIST"), 2);
}

TEST_P(FtpClients, CredentialsLeaveAsTheProjectsBytes) {
    const std::string user = "j\xfcrgen", password = "s\xe9same \x80";
    CPeer server(Args("fault_server.py", {"list", "unix", "--login", user, password}));
    ASSERT_TRUE(server.Ok());
    EXPECT_NO_THROW(CClient(BuiltIn(), server.Port(), user, password));
    EXPECT_ANY_THROW(CClient(BuiltIn(), server.Port(), user, "s\xc3\xa9same \xe2\x82\xac"));
}

struct FaultCase {
    const char* name;
    std::vector<std::string> peer;
    corvane::NetTimeouts limits;
    Status status;
    const char* text;
};
// Its name, so that test names are stable (gtest would print its bytes).
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<FaultCase> FaultCases() {
    const corvane::NetTimeouts quick{2000ms, 1000ms};
    corvane::NetTimeouts shortListing{2000ms, 3000ms, 2000ms};
    corvane::NetTimeouts smallListing = quick;
    smallListing.listingMaxBytes = 4000;
    return {
        {"Empty", {"list", "empty"}, quick, Status::noMatch, ""},
        {"Unreadable", {"list", "garbage"}, quick, Status::unreadable, "could not be read"},
        {"Dropped", {"drop"}, quick, Status::failed, ""},
        {"Stalled", {"stall"}, quick, Status::failed, "imed out"},
        {"DataPortRefused", {"bad-data-port"}, quick, Status::failed, "onnect"},
        {"TooSlow", {"trickle"}, shortListing, Status::failed, "took longer than 2 seconds"},
        {"TooLarge", {"trickle"}, smallListing, Status::failed, "larger than 4000 bytes"},
    };
}

class FtpListingFaults : public ::testing::TestWithParam<std::tuple<bool, FaultCase>> {};

INSTANTIATE_TEST_SUITE_P(, FtpListingFaults,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(FaultCases())),
                         [](const auto& info) {
                             return WayName(std::get<0>(info.param)) + std::get<1>(info.param).name;
                         });

TEST_P(FtpListingFaults, AreToldApartFromAnEmptyFolder) {
    const auto& [builtIn, fault] = GetParam();
    CPeer peer(Args("fault_server.py", fault.peer));
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    corvane::ScopedNetTimeouts limits(fault.limits);
    CClient client(builtIn, peer.Port());
    const auto start = std::chrono::steady_clock::now();
    const Listed listed = client.List("/x");
    EXPECT_EQ(listed.status, fault.status) << listed.error;
    EXPECT_THAT(listed.error, HasSubstr(fault.text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 8s);
}

TEST(FtpTranscript, MasksPasswordsAndProxyCredentials) {
    CPeer server(Args("ftp_server.py", {"--user", "alice:secret"}));
    CPeer proxy(Args("proxy.py", {"tinyproxy"}));
    ASSERT_TRUE(server.Ok() && proxy.Ok());
    CClient client(false, server.Port(), "alice", "secret", [&](COleDispatchDriver& ftp) {
        ftp.SetProperty(coftp::dispidProxyType, std::int32_t{coftp::proxyHttp});
        ftp.SetProperty(coftp::dispidProxyHost, std::string("127.0.0.1"));
        ftp.SetProperty(coftp::dispidProxyPort, static_cast<std::int16_t>(proxy.Port()));
        ftp.SetProperty(coftp::dispidProxyUser, std::string("bob"));
        ftp.SetProperty(coftp::dispidProxyPassword, std::string("pw"));
    });
    const auto& log = client.Session().GetCommandLog();
    EXPECT_THAT(log, Contains("PASS ********"));
    EXPECT_THAT(log, Contains("Proxy-Authorization: Basic ********"));
    EXPECT_THAT(log, Not(Contains(HasSubstr("secret"))));
    EXPECT_THAT(log, Not(Contains(HasSubstr("Ym9iOnB3")))) << "bob:pw in Base64";
}

} // namespace
