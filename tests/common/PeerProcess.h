#pragma once
// One peer process from tests/fixtures, started for one test on 127.0.0.1 with an
// ephemeral port. Every fixture script prints "PORT n" once it listens and exits
// when its stdin closes, so a peer also goes away when the test process dies.
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testpeer {

// The distribution's interpreter carries the packaged peers (pyftpdlib, aiosmtpd); a
// user-level python3 first on PATH may not.
inline std::string Python() {
    return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

inline std::string Fixture(const std::string& name) {
    return std::string(CORVANE_FIXTURES_DIR) + "/" + name;
}

// A port on loopback where nothing listens (bound and closed a moment ago).
inline int UnusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    close(fd);
    return ntohs(addr.sin_port);
}

class CPeerProcess {
public:
    // `args` after the interpreter: the fixture script and its options.
    explicit CPeerProcess(const std::vector<std::string>& args) {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
            m_strError = "pipe failed";
            return;
        }
        std::vector<std::string> argv = {Python()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (std::string& a : argv)
            cargv.push_back(a.data());
        cargv.push_back(nullptr);
        m_nPid = fork();
        if (m_nPid == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            dup2(open("/dev/null", O_WRONLY), 2);
            execv(cargv[0], cargv.data());
            execvp(cargv[0], cargv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        m_fdIn = in[1];
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{out[0], POLLIN, 0};
            if (poll(&p, 1, 200) <= 0)
                continue;
            char c;
            if (read(out[0], &c, 1) <= 0)
                break;
            if (c == '\n') {
                if (line.rfind("PORT ", 0) == 0)
                    m_nPort = std::atoi(line.c_str() + 5);
                break;
            }
            line += c;
        }
        close(out[0]);
        if (m_nPort <= 0)
            m_strError =
                "peer did not start: " + (args.empty() ? std::string() : args[0]) + " (" + line + ")";
    }

    // Closing stdin asks the peer to go; SIGTERM and then SIGKILL make sure it does.
    ~CPeerProcess() {
        if (m_fdIn >= 0)
            close(m_fdIn);
        if (m_nPid <= 0)
            return;
        for (int i = 0; i < 40; ++i) {
            if (waitpid(m_nPid, nullptr, WNOHANG) == m_nPid)
                return;
            if (i == 10)
                kill(m_nPid, SIGTERM);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(m_nPid, SIGKILL);
        waitpid(m_nPid, nullptr, 0);
    }
    CPeerProcess(const CPeerProcess&) = delete;
    CPeerProcess& operator=(const CPeerProcess&) = delete;

    bool Ok() const { return m_nPort > 0; }
    int Port() const { return m_nPort; }
    const std::string& Error() const { return m_strError; }

private:
    pid_t m_nPid = -1;
    int m_fdIn = -1;
    int m_nPort = 0;
    std::string m_strError;
};

} // namespace testpeer
