// The exact calls a session opening makes on "Kestrel.CoFTP", seen by a recording
// component; and the real component's dispatch rules, which need no server.
#include "platform/CAutomationRegistry.h"
#include "platform/CCoFtp.h"
#include "platform/CFtpProbe.h"
#include "platform/COleException.h"
#include "platform/CoFtpDispIds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

std::string Show(const CVariant& v) {
    switch (TypeOf(v)) {
    case VarType::empty:
        return "empty";
    case VarType::bstr:
        return "s:" + std::get<std::string>(v);
    case VarType::i2:
        return "i2:" + std::to_string(std::get<std::int16_t>(v));
    case VarType::i4:
        return "i4:" + std::to_string(std::get<std::int32_t>(v));
    case VarType::boolean:
        return std::get<bool>(v) ? "b:true" : "b:false";
    case VarType::dispatch:
        return "object";
    }
    return "?";
}

// Records "put 3 i2:-25536", "call 8", "get 1" ... ; lists two entries, a folder and a file.
class Recorder : public IDispatch {
public:
    explicit Recorder(std::vector<std::string>* log, const char* prefix = "")
        : m_log(log), m_prefix(prefix) {}

    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
        std::string entry = m_prefix;
        entry += kind == InvokeKind::method ? "call " : kind == InvokeKind::propertyGet ? "get " : "put ";
        entry += std::to_string(id);
        for (const CVariant& a : args)
            entry += " " + Show(a);
        m_log->push_back(entry);
        if (failOn == id)
            throw COleDispatchException("recorded failure");
        if (std::string(m_prefix) == "" && id == coftp::dispidListing)
            return std::shared_ptr<IDispatch>(std::make_shared<Recorder>(m_log, "listing."));
        if (std::string(m_prefix) == "listing.") {
            if (id == coftp::dispidCount)
                return std::int32_t{2};
            const bool folder = std::get<std::int16_t>(args.at(0)) == 0;
            return std::shared_ptr<IDispatch>(
                std::make_shared<Recorder>(m_log, folder ? "folder." : "file."));
        }
        if (std::string(m_prefix) == "folder.")
            return id == coftp::dispidName ? CVariant(std::string("sub")) : CVariant(std::int32_t{2});
        if (std::string(m_prefix) == "file.")
            return id == coftp::dispidName ? CVariant(std::string("f.txt")) : CVariant(std::int32_t{1});
        return {};
    }

    static inline DISPID failOn = -1;

private:
    std::vector<std::string>* m_log;
    const char* m_prefix;
};

class RecordedCalls : public ::testing::Test {
protected:
    void SetUp() override {
        Recorder::failOn = -1;
        m_previous = CAutomationRegistry::Register(coftp::kProgId,
                                                   [this] { return std::make_shared<Recorder>(&m_log); });
    }
    void TearDown() override {
        if (m_previous)
            CAutomationRegistry::Register(coftp::kProgId, m_previous);
        else
            CAutomationRegistry::Unregister(coftp::kProgId);
    }

    CConnectionInfo Connection() {
        CConnectionInfo c;
        c.m_strHost = "ftp.example.org";
        c.m_nPort = 40000;
        c.m_strUser = "u";
        c.m_strPassword = "p";
        c.m_bPassive = true;
        return c;
    }

    std::vector<std::string> m_log;
    CAutomationRegistry::Factory m_previous;
};

TEST_F(RecordedCalls, ConnectionTestWithoutProxySendsOnlyProxyTypeNone) {
    CProxySettings proxy;
    proxy.m_nType = CProxySettings::typeSocks5;
    CFtpProbe probe;
    probe.Open(Connection(), proxy, CFtpProbe::ProxyRule::connectionTest);
    EXPECT_THAT(m_log, ElementsAre("put 29 i4:0", "put 2 s:ftp.example.org", "put 4 s:u", "put 5 s:p",
                                   "put 3 i2:-25536", "put 11 i4:1", "put 35 i4:0", "put 34 i2:20", "call 8",
                                   "call 6"));
}

TEST_F(RecordedCalls, ProxyMembersFollowTheConversionTable) {
    CConnectionInfo c = Connection();
    c.m_bUseProxy = true;
    c.m_bPassive = false;
    CProxySettings proxy;
    proxy.m_strHost = "proxy.local";
    proxy.m_nPort = 40000;
    proxy.m_strUser = "pu";
    proxy.m_strPassword = "pp";
    const std::pair<std::int32_t, const char*> table[] = {{CProxySettings::typeNone, "put 29 i4:0"},
                                                          {CProxySettings::typeSocks4, "put 29 i4:1"},
                                                          {CProxySettings::typeSocks4A, "put 29 i4:2"},
                                                          {CProxySettings::typeSocks5, "put 29 i4:3"},
                                                          {CProxySettings::typeHttp, "put 29 i4:4"}};
    for (const auto& [record, sent] : table) {
        m_log.clear();
        proxy.m_nType = record;
        CFtpProbe probe;
        probe.Open(c, proxy, CFtpProbe::ProxyRule::connectionTest);
        ASSERT_GE(m_log.size(), 6u);
        EXPECT_THAT(std::vector<std::string>(m_log.begin(), m_log.begin() + 6),
                    ElementsAre(sent, "put 32 s:proxy.local", "put 33 i2:-25536", "put 30 s:pu",
                                "put 31 s:pp", "put 2 s:ftp.example.org"));
        EXPECT_THAT(m_log, ::testing::Contains("put 11 i4:0"));
    }
    // A code outside the table sends no type but still the four values.
    m_log.clear();
    proxy.m_nType = 7;
    CFtpProbe probe;
    probe.Open(c, proxy, CFtpProbe::ProxyRule::connectionTest);
    EXPECT_EQ(m_log.front(), "put 32 s:proxy.local");
}

TEST_F(RecordedCalls, BrowserWithoutProxySetsNoProxyMember) {
    CFtpProbe probe;
    probe.Open(Connection(), CProxySettings{}, CFtpProbe::ProxyRule::folderBrowser);
    for (const std::string& call : m_log)
        for (const char* member : {"put 29 ", "put 30 ", "put 31 ", "put 32 ", "put 33 "})
            EXPECT_NE(call.rfind(member, 0), 0u) << call;
    EXPECT_EQ(m_log.front(), "put 2 s:ftp.example.org");
}

TEST_F(RecordedCalls, ListingWalksEveryItem) {
    CFtpProbe probe;
    probe.Open(Connection(), CProxySettings{}, CFtpProbe::ProxyRule::folderBrowser);
    m_log.clear();
    const auto items = probe.ListFolder("/pub/data//");
    EXPECT_THAT(m_log, ElementsAre("call 16 s:/pub/data//", "call 44 s:*", "get 1", "listing.get 1",
                                   "listing.call 4 i2:0", "folder.get 1", "folder.get 3",
                                   "listing.call 4 i2:1", "file.get 1", "file.get 3"));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].strPath, "/pub/data/sub");
    EXPECT_TRUE(items[0].bFolder);
    EXPECT_FALSE(items[1].bFolder);
    m_log.clear();
    probe.Close();
    EXPECT_THAT(m_log, ElementsAre("call 7"));
}

TEST_F(RecordedCalls, AFailingCallEndsTheSequenceWithItsDescription) {
    Recorder::failOn = coftp::dispidConnect;
    CFtpProbe probe;
    try {
        probe.Open(Connection(), CProxySettings{}, CFtpProbe::ProxyRule::connectionTest);
        ADD_FAILURE() << "opened";
    } catch (...) {
        EXPECT_EQ(CFtpProbe::ErrorText(std::current_exception()), "recorded failure");
    }
    EXPECT_EQ(m_log.back(), "call 8");
    EXPECT_FALSE(probe.IsOpen());
    // The instance is kept and reused by the next attempt.
    Recorder::failOn = -1;
    m_log.clear();
    probe.Open(Connection(), CProxySettings{}, CFtpProbe::ProxyRule::connectionTest);
    EXPECT_EQ(m_log.back(), "call 6");
}

TEST_F(RecordedCalls, CreationFailure) {
    CAutomationRegistry::Unregister(coftp::kProgId);
    CFtpProbe probe;
    try {
        probe.Open(Connection(), CProxySettings{}, CFtpProbe::ProxyRule::connectionTest);
        ADD_FAILURE() << "opened";
    } catch (const CFtpProbe::CCreationFailed& e) {
        EXPECT_STREQ(e.what(), "COM Component creation failed");
    }
    const auto result = CFtpProbe::Probe(Connection(), CProxySettings{}, "/");
    EXPECT_FALSE(result.bOk);
    EXPECT_EQ(result.strError, "COM Component creation failed");
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
        ADD_FAILURE();
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_strDescription, "No server host name was given.");
    }
    // Members 34 and 35 keep what they were given.
    driver.SetProperty(coftp::dispid34, std::int16_t{20});
    driver.SetProperty(coftp::dispid35, std::int32_t{0});
    EXPECT_EQ(std::get<std::int16_t>(driver.GetProperty(coftp::dispid34)), 20);
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
