#include "model/CSafeFileWriter.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows before it reports a loop.
constexpr int kMaxLinks = 40;

std::string Errno(const std::string& what, int err = errno) {
    return what + ": " + std::strerror(err);
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Write permission as the mode bits grant it, not only as access() reports it.
bool MayWrite(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

} // namespace

std::string CSafeFileWriter::ResolveLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path target = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(target, ec))
            return target.string();
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            return {};
        // A relative link is relative to the folder that holds the link.
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return {};
}

std::string CSafeFileWriter::CheckReplaceable(const std::string& path) {
    const std::string target = ResolveLinks(path);
    if (target.empty())
        return "cannot follow the links of " + path;
    const std::string dir = DirectoryOf(target);
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0)
        return Errno("cannot write in " + dir);
    if (!MayWrite(dir, st))
        return Errno("cannot write in " + dir, EACCES);
    if (::lstat(target.c_str(), &st) != 0)
        return errno == ENOENT ? std::string() : Errno("cannot examine " + target);
    if (!S_ISREG(st.st_mode))
        return target + " is not a regular file";
    if (!MayWrite(target, st))
        return target + " is read-only";
    // The replacement is a new file: only root can hand it to another owner.
    if (::geteuid() != 0 && st.st_uid != ::geteuid())
        return target + " belongs to another user";
    return {};
}

std::string CSafeFileWriter::Write(const std::string& path, const std::function<void(std::FILE*)>& write) {
    if (std::string refused = CheckReplaceable(path); !refused.empty())
        return refused;
    const std::string target = ResolveLinks(path);
    const std::string dir = DirectoryOf(target);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;

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
        struct stat made {};
        if (std::fflush(f) != 0)
            err = Errno("cannot write " + path);
        else if (existed && ::fstat(fd, &made) == 0 &&
                 (made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
                 ::fchown(fd, old.st_uid, old.st_gid) != 0)
            err = Errno("cannot keep the owner of " + target);
        // After the owner: a change of owner clears the set-id bits.
        else if (::fchmod(fd, existed ? old.st_mode & 07777 : 0600) != 0)
            err = Errno("cannot set the permissions of " + path);
        else if (::fsync(fd) != 0)
            err = Errno("cannot flush " + path + " to disk");
    } catch (const std::exception& e) {
        err = std::string("cannot write ") + path + ": " + e.what();
    }
    if (std::fclose(f) != 0 && err.empty())
        err = Errno("cannot write " + path);
    if (err.empty() && ::rename(tmpl.c_str(), target.c_str()) != 0)
        err = Errno("cannot replace " + target);
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
