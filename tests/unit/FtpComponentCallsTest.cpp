// The exact calls the session path makes on "Kestrel.CoFTP", seen by the recording
// component; and the real component's dispatch rules, which need no server.
#include "standins/RecordingFtp.h"

#include "platform/CCoFtp.h"
#include "platform/CRemoteFolderSession.h"
#include "platform/CoFtpDispIds.h"
#include "platform/ProxyTypes.h"

#include <functional>
#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;
using Rule = CRemoteFolderSession::ProxyRule;
using testftp::CRecordingFtpRegistration;
using testftp::FakeFtpState;

class SessionCalls : public ::testing::Test {
protected:
    static CConnectionInfo Connection() {
        CConnectionInfo c;
        c.m_strHost = "ftp.example.org";
        c.m_nPort = 40000;
        c.m_strUser = "u";
        c.m_strPassword = "p\xe9";
        c.m_bPassive = true;
        return c;
    }
    // Everything after the proxy members; the port's 16 bits travel signed.
    static Calls Opening(const char* passive = "1") {
        return {"put 2 bstr 'ftp.example.org'",
                "put 4 bstr 'u'",
                "put 5 bstr 'p\xe9'",
                "put 3 i2 -25536",
                std::string("put 11 i4 ") + passive,
                "put 35 i4 0",
                "put 34 i2 20",
                "call 8",
                "call 6"};
    }
    static Calls Concat(Calls a, const Calls& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    std::shared_ptr<FakeFtpState> m_state = std::make_shared<FakeFtpState>();
    CRecordingFtpRegistration m_reg{m_state};
};

TEST_F(SessionCalls, ProxyTypeAndMembersInTheComponentsCodesAndOrder) {
    CProxySettings proxy;
    proxy.m_nType = CProxySettings::typeSocks5;
    CRemoteFolderSession test;
    ASSERT_TRUE(test.Open(Connection(), proxy, Rule::connectionTest));
    EXPECT_EQ(m_state->Calls(), Concat({"put 29 i4 0"}, Opening()));
    m_state->ClearCalls();
    CRemoteFolderSession browser;
    ASSERT_TRUE(browser.Open(Connection(), proxy, Rule::folderBrowser));
    EXPECT_EQ(m_state->Calls(), Opening());
    // With the proxy its members come first, the type in the component's own code (the file's
    // SOCKS5, 2, is its 3); a type outside every table (a damaged file) is not sent at all.
    CConnectionInfo viaProxy = Connection();
    viaProxy.m_bUseProxy = true;
    const Calls members{"put 32 bstr 'proxy.example.com'", "put 33 i2 8190", "put 30 bstr 'anonymous'",
                        "put 31 bstr ''"};
    for (const auto& [stored, sent] :
         {std::pair<int, Calls>{CProxySettings::typeSocks5, {"put 29 i4 3"}}, std::pair<int, Calls>{9, {}}}) {
        proxy.m_nType = stored;
        m_state->ClearCalls();
        CRemoteFolderSession session;
        ASSERT_TRUE(session.Open(viaProxy, proxy, Rule::folderBrowser));
        EXPECT_EQ(m_state->Calls(), Concat(Concat(sent, members), Opening())) << "stored type " << stored;
    }
}

// Dialog order, file codes, component codes and session kinds each name every type once, so
// that every lookup finds the one row meant (a copied row would map two types to one).
TEST(ProxyTypeTable, EveryColumnNamesEachTypeOnce) {
    std::set<std::string> names;
    for (const corvane::ProxyTypeRow& row : corvane::ProxyTypeTable()) {
        names.insert(row.name);
        // A second row with the same code would be found in place of this one.
        EXPECT_EQ(corvane::ProxyTypeByStoredCode(row.storedCode), &row);
        EXPECT_EQ(corvane::ProxyTypeByComponentCode(row.componentCode), &row);
        EXPECT_EQ(corvane::ProxyTypeByKind(row.kind), &row);
    }
    EXPECT_EQ(names.size(), 5u);
    EXPECT_EQ(corvane::ProxyTypeTable().size(), 5u);
    EXPECT_EQ(corvane::ProxyTypeByKind(CFtpSessionOptions::Proxy::environment), nullptr);
}

// Nothing carrying a control character leaves: the connection fails first, naming the field.
TEST_F(SessionCalls, ControlCharactersAreRefusedBeforeAnyCall) {
    const std::string injected = "x\r\nDELE /important.txt";
    struct Case {
        const char* field;
        std::function<void(CConnectionInfo&, CProxySettings&)> set;
    };
    const Case cases[] = {
        {"host name", [&](CConnectionInfo& c, CProxySettings&) { c.m_strHost = injected; }},
        {"user name", [&](CConnectionInfo& c, CProxySettings&) { c.m_strUser = injected; }},
        {"password", [&](CConnectionInfo& c, CProxySettings&) { c.m_strPassword = "pw\nSITE CHMOD 777 /"; }},
        {"proxy host name", [&](CConnectionInfo&, CProxySettings& p) { p.m_strHost = "p\x1b[2J"; }},
        {"proxy user name", [&](CConnectionInfo&, CProxySettings& p) { p.m_strUser = injected; }},
        {"proxy password",
         [&](CConnectionInfo&, CProxySettings& p) { p.m_strPassword = std::string("a\0b", 3); }},
    };
    for (const Case& test : cases) {
        CConnectionInfo c = Connection();
        c.m_bUseProxy = true;
        CProxySettings proxy;
        test.set(c, proxy);
        m_state->ClearCalls();
        CRemoteFolderSession session;
        const auto result = session.Open(c, proxy, Rule::connectionTest);
        EXPECT_EQ(result.strError, std::string("The ") + test.field +
                                       " contains a control character (such as a line break), which is never "
                                       "sent to a server. Correct the " +
                                       test.field + ".");
        EXPECT_TRUE(m_state->Calls().empty()) << test.field;
    }
    CRemoteFolderSession session;
    m_state->folders["/"] = {};
    ASSERT_TRUE(session.Open(Connection(), {}, Rule::folderBrowser));
    m_state->ClearCalls();
    std::vector<CRemoteItem> items;
    EXPECT_THAT(session.List("/pub\r\nRMD /pub", items).strError,
                ::testing::StartsWith("The folder contains"));
    EXPECT_TRUE(m_state->Calls().empty());
}

TEST_F(SessionCalls, ListingTakesEveryItemAndCloseDisconnects) {
    m_state->folders["/pub/data"] = {{"sub", 2}, {"f.txt", 1}, {"ln", 3}};
    CRemoteFolderSession session;
    ASSERT_TRUE(session.Open(Connection(), {}, Rule::folderBrowser));
    std::vector<CRemoteItem> items;
    ASSERT_TRUE(session.List("/pub/data//", items));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].strPath, "/pub/data/sub");
    EXPECT_EQ(items[0].kind, CRemoteItem::Kind::folder);
    EXPECT_FALSE(items[1].IsBrowsable());
    EXPECT_EQ(items[2].kind, CRemoteItem::Kind::link);
    EXPECT_TRUE(items[2].IsBrowsable());

    m_state->failingFolders.insert("/pub/data");
    const auto refused = session.List("/pub/data", items);
    EXPECT_EQ(refused.outcome, CRemoteFolderSession::Outcome::failed);
    EXPECT_EQ(refused.strError, "550 /pub/data: No such file or directory.");
    EXPECT_TRUE(items.empty());

    m_state->ClearCalls();
    EXPECT_TRUE(session.Close());
    EXPECT_EQ(m_state->Calls(), Calls{"call 7"});
    EXPECT_FALSE(session.IsOpen());
    // The next opening starts from a fresh instance.
    ASSERT_TRUE(session.Open(Connection(), {}, Rule::folderBrowser));
    EXPECT_EQ(m_state->instances, 2);
}

TEST_F(SessionCalls, AFailingCallEndsTheSequenceAndKeepsTheInstance) {
    CRemoteFolderSession session;
    // What a 512-character buffer holds, in characters: a UTF-8 reply keeps its bytes whole, a
    // code page one reads as the code page, and control characters show as escapes.
    const auto times = [](int n, const std::string& s) {
        std::string out;
        while (n--)
            out += s;
        return out;
    };
    for (const auto& [reply, kept] :
         {std::pair(times(300, "a") + times(300, "\xd0\x96"), times(300, "a") + times(211, "\xd0\x96")),
          std::pair(times(600, "\xe9"), times(511, "\xc3\xa9")),
          std::pair(std::string("530 no\x1b]0;owned\x07"), std::string("530 no\\x1b]0;owned\\x07"))}) {
        m_state->failures[8] = reply;
        const auto failed = session.Open(Connection(), {}, Rule::connectionTest);
        EXPECT_EQ(failed.outcome, CRemoteFolderSession::Outcome::failed);
        EXPECT_EQ(failed.strError, kept);
        EXPECT_EQ(m_state->Calls().back(), "call 8");
        EXPECT_FALSE(session.IsOpen());
    }

    m_state->failures.clear();
    ASSERT_TRUE(session.Open(Connection(), {}, Rule::connectionTest));
    EXPECT_EQ(m_state->instances, 1);

    // A refused Disconnect leaves the session open for another try.
    m_state->failures[7] = "421 Timeout.";
    EXPECT_EQ(session.Close().strError, "421 Timeout.");
    EXPECT_TRUE(session.IsOpen());
    m_state->failures.clear();
    EXPECT_TRUE(session.Close());
    EXPECT_FALSE(session.IsOpen());
}

// The connection test lists the login folder; when that fails nothing stays open, so the
// next test starts afresh.
TEST_F(SessionCalls, AFailedTestLeavesNothingOpen) {
    CRemoteFolderSession session;
    m_state->failures[44] = "550 Not enough privileges.";
    EXPECT_EQ(session.Test(Connection(), {}).strError, "550 Not enough privileges.");
    EXPECT_EQ(m_state->Calls().back(), "call 7");
    EXPECT_FALSE(session.IsOpen());
    m_state->failures.clear();
    m_state->ClearCalls();
    EXPECT_TRUE(session.Test(Connection(), {}));
    EXPECT_EQ(m_state->Calls().back(), "get 1");
    EXPECT_TRUE(session.IsOpen());
}

TEST_F(SessionCalls, ComponentThatCannotBeCreated) {
    CRecordingFtpRegistration missing(m_state, /*creatable=*/false);
    CRemoteFolderSession session;
    const auto result = session.Open(Connection(), {}, Rule::connectionTest);
    EXPECT_EQ(result.outcome, CRemoteFolderSession::Outcome::componentMissing);
    EXPECT_EQ(result.strError, "COM Component creation failed");
    EXPECT_TRUE(m_state->Calls().empty());
}

// The real component, without a server.
TEST(CoFtpDispatch, CallerMistakesAreCallFailures) {
    CCoFtp ftp;
    EXPECT_THROW(ftp.Invoke(99, InvokeKind::method, {}), COleException);
    EXPECT_THROW(ftp.Invoke(coftp::dispidHost, InvokeKind::propertyGet, {}), COleException);
    EXPECT_THROW(ftp.Invoke(coftp::dispidPort, InvokeKind::propertyPut, {std::int32_t{21}}), COleException);
    EXPECT_THROW(ftp.Invoke(coftp::dispidPassive, InvokeKind::propertyPut, {std::int16_t{1}}), COleException);
    EXPECT_THROW(ftp.Invoke(coftp::dispidList, InvokeKind::method, {}), COleException);
    try {
        ftp.Invoke(coftp::dispidHost, InvokeKind::propertyPut, {true});
        ADD_FAILURE() << "a boolean host was taken";
    } catch (const COleException& e) {
        EXPECT_STREQ(e.what(), "Type mismatch.");
    }
}

TEST(CoFtpDispatch, ComponentFailuresCarryADescription) {
    CCoFtp ftp;
    COleDispatchDriver driver(std::shared_ptr<IDispatch>(&ftp, [](IDispatch*) {}));
    EXPECT_THROW(driver.InvokeHelper(coftp::dispidLogin, InvokeKind::method), COleDispatchException);
    EXPECT_THROW(driver.InvokeHelper(coftp::dispidChangeDirectory, InvokeKind::method, {std::string("/")}),
                 COleDispatchException);
    EXPECT_THROW(driver.SetProperty(coftp::dispidProxyType, std::int32_t{5}), COleDispatchException);
    driver.SetProperty(coftp::dispidHost, std::string());
    try {
        driver.InvokeHelper(coftp::dispidConnect, InvokeKind::method);
        ADD_FAILURE() << "connected without a host";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_strDescription, "No server host name was given.");
    }
    // Before any List the listing is empty; indexes outside it fail.
    COleDispatchDriver listing(
        std::get<std::shared_ptr<IDispatch>>(driver.GetProperty(coftp::dispidListing)));
    EXPECT_EQ(std::get<std::int32_t>(listing.GetProperty(coftp::dispidCount)), 0);
    EXPECT_THROW(listing.InvokeHelper(coftp::dispidItem, InvokeKind::method, {std::int16_t{0}}),
                 COleDispatchException);
    // Disconnect without a session is harmless.
    EXPECT_NO_THROW(driver.InvokeHelper(coftp::dispidDisconnect, InvokeKind::method));
}

} // namespace
