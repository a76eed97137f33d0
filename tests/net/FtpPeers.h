#pragma once
// Test peers from tests/fixtures, started on 127.0.0.1 with ephemeral ports and stopped
// when the object goes away (stdin closed, then SIGTERM, then SIGKILL).
#include <string>
#include <vector>

namespace ftptest {

class CPeer {
public:
    // `args` after the interpreter: the fixture script and its options.
    explicit CPeer(const std::vector<std::string>& args);
    ~CPeer();
    CPeer(const CPeer&) = delete;
    CPeer& operator=(const CPeer&) = delete;

    bool Ok() const { return m_nPort > 0; }
    int Port() const { return m_nPort; }
    // Words after the port on the "PORT" line (e.g. a second port).
    const std::string& Extra() const { return m_strExtra; }
    const std::string& Error() const { return m_strError; }

private:
    int m_nPid = -1;
    int m_fdIn = -1;
    int m_nPort = 0;
    std::string m_strExtra;
    std::string m_strError;
};

// The interpreter that has the fixtures' modules (pyftpdlib).
std::string Python();
std::string Fixture(const std::string& name);

// A port on loopback where nothing listens (bound and closed a moment ago).
int UnusedPort();

} // namespace ftptest
