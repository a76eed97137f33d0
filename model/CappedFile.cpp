#include "model/CappedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// Reads up to `n` bytes into `dest`; the count read, or -1 with errno set.
long long ReadFully(int fd, char* dest, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::read(fd, dest + done, n - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

} // namespace

std::string DescribeCap(std::uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

bool ReadCappedFile(const std::string& path, std::uint64_t cap, std::string& bytes, std::string& reason,
                    struct stat* stOut) {
    // The operator's "-" reaches the readers as /dev/stdin: a pipe is what was asked for there.
    if (path == "/dev/stdin") {
        if (stOut && ::fstat(STDIN_FILENO, stOut) != 0)
            *stOut = {};
        return ReadCappedStream(STDIN_FILENO, cap, bytes, reason);
    }
    // Without blocking: opening a pipe nobody writes to would otherwise wait for ever.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        reason = std::strerror(EISDIR);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = "not a regular file (a device, a pipe or a socket); give a file";
        return false;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > cap) {
        reason = "larger than " + DescribeCap(cap) + ", more than such a file ever holds";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    const long long got = ReadFully(file.fd, bytes.data(), bytes.size());
    char extra = 0;
    const long long more = got < 0 ? 0 : ReadFully(file.fd, &extra, 1);
    if (got < 0 || more < 0) {
        bytes.clear();
        reason = std::string("read failed: ") + std::strerror(errno);
        return false;
    }
    if (got != static_cast<long long>(size) || more != 0) {
        bytes.clear();
        reason = "it changed size while it was read; try again when nothing writes it";
        return false;
    }
    if (stOut)
        *stOut = st;
    return true;
}

bool ReadCappedStream(int fd, std::uint64_t cap, std::string& bytes, std::string& reason) {
    bytes.clear();
    char chunk[64 * 1024];
    for (;;) {
        const long long got = ReadFully(fd, chunk, sizeof chunk);
        if (got < 0) {
            reason = std::string("read failed: ") + std::strerror(errno);
            return false;
        }
        if (bytes.size() + static_cast<std::uint64_t>(got) > cap) {
            reason = "more than " + DescribeCap(cap) + ", more than such a file ever holds";
            return false;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
        if (got < static_cast<long long>(sizeof chunk))
            return true;
    }
}

} // namespace corvane
