#pragma once
// Starts tests/fixtures/smtp_peer.py (aiosmtpd) on loopback and reads back what it
// recorded: one JSON object per AUTH, MAIL and DATA it saw.
#include "PeerProcess.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <string>
#include <vector>

namespace mailtest {

class CSmtpPeer {
public:
    // Extra arguments as smtp_peer.py takes them ("--auth", "u:p", "--refuse-rcpt", "x@y", ...).
    explicit CSmtpPeer(std::vector<std::string> extra = {})
        : m_record(m_dir / "record.jsonl"), m_process([&] {
              std::vector<std::string> args = {testpeer::Fixture("smtp_peer.py"), "--record", m_record};
              args.insert(args.end(), extra.begin(), extra.end());
              return args;
          }()) {}

    CSmtpPeer(const CSmtpPeer&) = delete;
    CSmtpPeer& operator=(const CSmtpPeer&) = delete;

    bool Running() const { return m_process.Ok(); }
    int Port() const { return m_process.Port(); }
    // The certificate the peer made for "--tls", to be trusted as its own authority.
    std::string CertFile() const { return m_dir / "cert.pem"; }

    // What the peer recorded of one kind ("AUTH", "MAIL", "DATA").
    std::vector<nlohmann::json> Events(const std::string& kind) const {
        std::vector<nlohmann::json> out;
        std::ifstream in(m_record);
        for (std::string line; std::getline(in, line);)
            if (auto e = nlohmann::json::parse(line.empty() ? "{}" : line); e["event"] == kind)
                out.push_back(std::move(e));
        return out;
    }

private:
    TempDir m_dir;
    std::string m_record;
    testpeer::CPeerProcess m_process;
};

} // namespace mailtest
