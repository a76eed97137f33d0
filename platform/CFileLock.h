#pragma once
// An exclusive lock on a file (flock), held for the life of the object. Two opens
// of the same file exclude each other, within one process as across processes,
// and the system lets go of the lock however its process ends.
#include <chrono>
#include <string>

class CFileLock {
public:
    // Creates the file (mode 0600) when missing; waits up to `wait` for another
    // holder to let go (no wait: one try).
    explicit CFileLock(const std::string& path, std::chrono::milliseconds wait = {});
    ~CFileLock();
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    bool IsLocked() const { return m_fd >= 0; }
    // Not locked because somebody else holds the lock (rather than an error).
    bool IsHeldElsewhere() const { return m_bHeldElsewhere; }

private:
    int m_fd = -1;
    bool m_bHeldElsewhere = false;
};
