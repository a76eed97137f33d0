#pragma once
// Starts the fixtures' FTP server (pyftpdlib) on 127.0.0.1 with an ephemeral port
// for one test, on a folder tree the test owns, and stops it afterwards.
#include "PeerProcess.h"

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace remotetest {

class CFtpPeer {
public:
    // `extra` are further arguments of the script (for ftp_server.py e.g. "--tree",
    // "--user", "a:b"; it serves a root folder the test owns).
    explicit CFtpPeer(std::vector<std::string> extra, const std::string& script = "ftp_server.py")
        : m_root(MakeRoot()), m_process([&] {
              std::vector<std::string> args{testpeer::Fixture(script)};
              if (script == "ftp_server.py")
                  args.insert(args.end(), {"--root", m_root.string()});
              args.insert(args.end(), extra.begin(), extra.end());
              return args;
          }()) {}
    ~CFtpPeer() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    CFtpPeer(const CFtpPeer&) = delete;
    CFtpPeer& operator=(const CFtpPeer&) = delete;

    int Port() const { return m_process.Port(); }
    bool IsUp() const { return m_process.Ok(); }
    const std::filesystem::path& Root() const { return m_root; }

private:
    static std::filesystem::path MakeRoot() {
        auto root = std::filesystem::temp_directory_path() /
                    ("corvane-remote-" + std::to_string(getpid()) + "-" + std::to_string(s_nCounter++));
        std::filesystem::create_directories(root);
        return root;
    }

    static inline int s_nCounter = 0;
    std::filesystem::path m_root;
    testpeer::CPeerProcess m_process;
};

} // namespace remotetest
