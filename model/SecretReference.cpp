#include "model/SecretReference.h"

#include "model/VisibleText.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

std::string Quoted(const std::string& name) {
    return "\"" + VisibleText(name) + "\"";
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Up to the first line end, or false with errno set (0: the line is over the cap).
bool ReadFirstLine(int fd, std::string& line) {
    char buffer[4096];
    line.clear();
    while (line.find('\n') == std::string::npos && line.size() <= kSecretLineCap) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    line.resize(std::min(line.find('\n'), line.size()));
    if (line.size() > kSecretLineCap) {
        errno = 0;
        return false;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace

bool ReadSecretFromEnvironment(const std::string& name, std::string& secret, std::string& error) {
    const char* value = name.empty() || name.find_first_of(std::string("=\0", 2)) != std::string::npos
                            ? nullptr
                            : std::getenv(name.c_str());
    if (!value) {
        error = "the environment variable " + Quoted(name) + " is not set";
        return false;
    }
    secret = value;
    return true;
}

bool ReadSecretFromFile(const std::string& path, std::string& secret, std::string& error) {
    const std::string cannot = "cannot read the file " + Quoted(path) + ": ";
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = cannot + "not a file name";
        return false;
    }
    // Not blocking on a pipe that nobody writes: such a file is refused below anyway.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0) {
        error = cannot + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = cannot + "not a regular file";
        return false;
    }
    if (!ReadFirstLine(fd.Get(), secret)) {
        error =
            cannot + (errno ? std::string(std::strerror(errno))
                            : "its first line is longer than " + std::to_string(kSecretLineCap) + " bytes");
        return false;
    }
    return true;
}

} // namespace corvane
