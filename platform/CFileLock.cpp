#include "platform/CFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

CFileLock::CFileLock(const std::string& path, std::chrono::milliseconds wait) {
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_bHeldElsewhere = errno == EWOULDBLOCK;
        if ((!m_bHeldElsewhere && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_bHeldElsewhere = false;
}

CFileLock::~CFileLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}
