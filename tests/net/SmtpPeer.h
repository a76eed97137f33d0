#pragma once
// Starts tests/fixtures/smtp_peer.py (aiosmtpd) on loopback and reads back what it
// recorded: one JSON object per EHLO, AUTH, MAIL, RCPT and DATA it saw.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace mailtest {

// The system interpreter carries the packaged aiosmtpd; a user-level python3 first on
// PATH may not.
inline std::string Python() {
    if (const char* p = std::getenv("CORVANE_PYTHON"))
        return p;
    return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

inline std::filesystem::path MakeTempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "corvane-mail-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        return {};
    return tmpl;
}

class CSmtpPeer {
public:
    // Extra arguments as smtp_peer.py takes them ("--auth", "u:p", "--refuse-rcpt", "x@y", ...).
    explicit CSmtpPeer(std::vector<std::string> extra = {}) {
        m_dir = MakeTempDir();
        m_record = m_dir / "record.jsonl";
        std::vector<std::string> argv = {Python(), std::string(CORVANE_FIXTURES_DIR) + "/smtp_peer.py",
                                         "--record", m_record.string()};
        argv.insert(argv.end(), extra.begin(), extra.end());
        std::vector<char*> cargv;
        for (auto& a : argv)
            cargv.push_back(a.data());
        cargv.push_back(nullptr);

        // The peer lives until its stdin closes, so it also ends when the test dies.
        int in[2];
        int out[2];
        if (pipe(in) != 0)
            return;
        if (pipe(out) != 0) {
            close(in[0]);
            close(in[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[0]);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, out[1]);
        if (posix_spawn(&m_pid, argv[0].c_str(), &actions, nullptr, cargv.data(), environ) != 0 &&
            posix_spawnp(&m_pid, argv[0].c_str(), &actions, nullptr, cargv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        m_stdin = in[1];
        close(out[1]);
        FILE* f = fdopen(out[0], "r");
        char line[128] = {};
        if (f && fgets(line, sizeof line, f))
            std::sscanf(line, "PORT %d", &m_port);
        if (f)
            fclose(f);
    }

    ~CSmtpPeer() {
        if (m_stdin >= 0)
            close(m_stdin);
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    CSmtpPeer(const CSmtpPeer&) = delete;
    CSmtpPeer& operator=(const CSmtpPeer&) = delete;

    bool Running() const { return m_pid > 0 && m_port > 0; }
    int Port() const { return m_port; }

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
    std::filesystem::path m_dir;
    std::filesystem::path m_record;
    pid_t m_pid = -1;
    int m_stdin = -1;
    int m_port = 0;
};

// A loopback port on which nothing listens: bound, then released.
inline int ClosedPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
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
