#pragma once
// Starts tests/fixtures/smtp_peer.py (aiosmtpd) on loopback and reads back what it
// recorded: one JSON object per EHLO, AUTH, MAIL, RCPT and DATA it saw.
#include "../common/PeerProcess.h"
#include "../common/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace mailtest {

using testpeer::Python;

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

    std::vector<nlohmann::json> Events() const {
        std::vector<nlohmann::json> events;
        std::ifstream in(m_record);
        std::string line;
        while (std::getline(in, line))
            if (!line.empty())
                events.push_back(nlohmann::json::parse(line));
        return events;
    }

    std::vector<nlohmann::json> Events(const std::string& kind) const {
        std::vector<nlohmann::json> out;
        for (auto& e : Events())
            if (e["event"] == kind)
                out.push_back(e);
        return out;
    }

private:
    TempDir m_dir;
    std::string m_record;
    testpeer::CPeerProcess m_process;
};

// A loopback port on which nothing listens.
inline int ClosedPort() {
    return testpeer::UnusedPort();
}

// A peer that completes the TCP handshake (the kernel does it for the backlog) and
// never says a word.
class CSilentPeer {
public:
    CSilentPeer() {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(m_socket, 8);
        socklen_t len = sizeof a;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&a), &len);
        m_port = ntohs(a.sin_port);
    }
    ~CSilentPeer() { close(m_socket); }
    CSilentPeer(const CSilentPeer&) = delete;
    CSilentPeer& operator=(const CSilentPeer&) = delete;
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

} // namespace mailtest
