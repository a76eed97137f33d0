#pragma once
// Starts the fixtures' FTP server (pyftpdlib) on 127.0.0.1 with an ephemeral port
// for one test, on a folder tree the test owns, and stops it afterwards.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace remotetest {

class CFtpPeer {
public:
    // `extra` are further arguments of the script (for ftp_server.py e.g. "--tree",
    // "--user", "a:b"; it serves a root folder the test owns).
    explicit CFtpPeer(std::vector<std::string> extra, const std::string& script = "ftp_server.py") {
        m_root = std::filesystem::temp_directory_path() /
                 ("corvane-remote-" + std::to_string(getpid()) + "-" + std::to_string(s_nCounter++));
        std::filesystem::create_directories(m_root);
        std::vector<std::string> args{"/usr/bin/python3", CORVANE_FIXTURES_DIR "/" + script};
        if (script == "ftp_server.py")
            args.insert(args.end(), {"--root", m_root.string()});
        args.insert(args.end(), extra.begin(), extra.end());
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        m_stdin = in[1];
        FILE* from = fdopen(out[0], "r");
        char line[128] = {};
        if (from && fgets(line, sizeof line, from))
            std::sscanf(line, "PORT %d", &m_nPort);
        if (from)
            fclose(from);
    }
    ~CFtpPeer() {
        if (m_stdin >= 0)
            close(m_stdin);
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    CFtpPeer(const CFtpPeer&) = delete;
    CFtpPeer& operator=(const CFtpPeer&) = delete;

    int Port() const { return m_nPort; }
    bool IsUp() const { return m_nPort > 0; }
    const std::filesystem::path& Root() const { return m_root; }

private:
    static inline int s_nCounter = 0;
    std::filesystem::path m_root;
    pid_t m_pid = -1;
    int m_stdin = -1;
    int m_nPort = 0;
};

} // namespace remotetest
