#include "FtpPeers.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace ftptest {

std::string Python() {
    // The distribution's interpreter has the packaged peers; a user's own python may not.
    if (access("/usr/bin/python3", X_OK) == 0)
        return "/usr/bin/python3";
    return "python3";
}

std::string Fixture(const std::string& name) {
    return std::string(CORVANE_FIXTURES_DIR) + "/" + name;
}

int UnusedPort() {
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

CPeer::CPeer(const std::vector<std::string>& args) {
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
    const bool verbose = std::getenv("CORVANE_PEER_VERBOSE") != nullptr;
    m_nPid = fork();
    if (m_nPid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        if (!verbose) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
        }
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
        const ssize_t n = read(out[0], &c, 1);
        if (n <= 0)
            break;
        if (c == '\n') {
            if (line.rfind("PORT ", 0) == 0) {
                m_nPort = std::atoi(line.c_str() + 5);
                const auto space = line.find(' ', 5);
                if (space != std::string::npos)
                    m_strExtra = line.substr(space + 1);
            }
            break;
        }
        line += c;
    }
    close(out[0]);
    if (m_nPort <= 0)
        m_strError = "peer did not start: " + (args.empty() ? std::string() : args[0]) + " (" + line + ")";
}

CPeer::~CPeer() {
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

} // namespace ftptest
