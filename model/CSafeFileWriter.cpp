#include "model/CSafeFileWriter.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Errno(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

std::string CSafeFileWriter::Write(const std::string& path, const std::function<void(std::FILE*)>& write) {
    const std::string dir = DirectoryOf(path);
    mode_t mode = 0600;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;

    std::string tmpl = dir + "/.corvane-save-XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return Errno("cannot create a temporary file in " + dir);

    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        const std::string err = Errno("cannot open the temporary file");
        ::close(fd);
        ::unlink(tmpl.c_str());
        return err;
    }
    std::string err;
    try {
        write(f);
        if (std::fflush(f) != 0)
            err = Errno("cannot write " + path);
        else if (::fchmod(fd, mode) != 0)
            err = Errno("cannot set the permissions of " + path);
        else if (::fsync(fd) != 0)
            err = Errno("cannot flush " + path + " to disk");
    } catch (const std::exception& e) {
        err = std::string("cannot write ") + path + ": " + e.what();
    }
    if (std::fclose(f) != 0 && err.empty())
        err = Errno("cannot write " + path);
    if (err.empty() && ::rename(tmpl.c_str(), path.c_str()) != 0)
        err = Errno("cannot replace " + path);
    if (!err.empty()) {
        ::unlink(tmpl.c_str());
        return err;
    }
    // Make the rename itself durable; failing here cannot damage either file.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}
