#pragma once
// Test peers from tests/fixtures for the FTP tests, and the session path that drives either
// client (the "Kestrel.CoFTP" component or the built-in one) against them.
#include "EnvOverride.h"
#include "LoopbackConnection.h"
#include "PeerProcess.h"

#include "platform/CCoFtp.h"
#include "platform/CRemoteFolderSession.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ftptest {

using CPeer = testpeer::CPeerProcess;
using testpeer::Fixture;
using testpeer::LoopbackConnection;
using testpeer::UnusedPort;
using Rule = CRemoteFolderSession::ProxyRule;

// A fixture script and its arguments.
inline std::vector<std::string> Peer(const std::string& script, std::vector<std::string> args) {
    args.insert(args.begin(), Fixture(script));
    return args;
}

inline std::string OpenError(CRemoteFolderSession& probe, const CConnectionInfo& c,
                             const CProxySettings& proxy = {}) {
    return probe.Open(c, proxy, Rule::connectionTest).strError;
}

// A listing that must succeed.
inline std::vector<CRemoteItem> List(CRemoteFolderSession& probe, const std::string& path) {
    std::vector<CRemoteItem> items;
    const auto result = probe.List(path, items);
    EXPECT_TRUE(result) << path << ": " << result.strError;
    return items;
}

inline std::string ListError(CRemoteFolderSession& probe, const std::string& path) {
    std::vector<CRemoteItem> items;
    return probe.List(path, items).strError;
}

inline std::vector<std::string> FolderNames(const std::vector<CRemoteItem>& items) {
    std::vector<std::string> out;
    for (const auto& i : items)
        if (i.kind == CRemoteItem::Kind::folder)
            out.push_back(i.strName);
    return out;
}

// The session under a component-way probe, for its command log.
inline CFtpSession& ComponentSession(CRemoteFolderSession& probe) {
    auto* component = dynamic_cast<CCoFtp*>(probe.GetComponent().get());
    if (!component || !component->GetSession())
        throw std::runtime_error("no component session");
    return *component->GetSession();
}

// Both ways as one parameter.
class FtpWays : public ::testing::TestWithParam<bool> {
protected:
    bool BuiltIn() const { return GetParam(); }
};

inline std::string WayName(bool builtIn) {
    return builtIn ? "BuiltIn" : "Component";
}

} // namespace ftptest
