#include "model/CSafeFileWriter.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows before it reports a loop.
constexpr int kMaxLinks = 40;

// Temporary files carry the saving process's id: ".corvane-save-<pid>-<random>".
constexpr const char* kTempPrefix = ".corvane-save-";

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

// A folder anyone may write to where only owners may remove entries, as /tmp.
bool IsSharedStickyFolder(const struct stat& dir) {
    return (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
}

// The kernel's rule: in a shared sticky folder a link is followed only when it belongs to
// the one following it or to the folder's owner.
bool MayFollow(const std::string& link) {
    struct stat st {
    }, dir{};
    if (::lstat(link.c_str(), &st) != 0 || ::stat(DirectoryOf(link).c_str(), &dir) != 0)
        return false;
    return !IsSharedStickyFolder(dir) || st.st_uid == ::geteuid() || st.st_uid == dir.st_uid;
}

std::string TempName(const std::string& dir) {
    static std::mt19937_64 random{std::random_device{}()};
    return dir + "/" + kTempPrefix + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000000);
}

// Removes our temporary files whose saving process is gone (killed before it could).
void SweepStaleTemporaries(const std::string& dir) {
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    const std::string prefix = kTempPrefix;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.rfind(prefix, 0) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        struct stat st {};
        const std::string path = dir + "/" + name;
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH &&
            ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(path.c_str());
    }
    ::closedir(d);
}

// Gives the complete unnamed file `fd` the name `named` in `dir`; retries on a name clash.
std::string NameTemporary(int fd, const std::string& dir, std::string& named) {
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 10; ++attempt) {
        named = TempName(dir);
        if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, named.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            ::linkat(fd, "", AT_FDCWD, named.c_str(), AT_EMPTY_PATH) == 0)
            return {};
        if (errno != EEXIST)
            break;
    }
    const std::string err = Errno("cannot name the new file in " + dir);
    named.clear();
    return err;
}

// Fills the open temporary file and sets its owner and mode: empty, or what failed.
std::string Fill(std::FILE* f, const std::string& path, const std::string& target, const struct stat* old,
                 const std::function<void(std::FILE*)>& write) {
    const int fd = ::fileno(f);
    try {
        write(f);
        struct stat made {};
        if (std::fflush(f) != 0)
            return Errno("cannot write " + path);
        if (old && ::fstat(fd, &made) == 0 && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
            ::fchown(fd, old->st_uid, old->st_gid) != 0)
            return Errno("cannot keep the owner of " + target);
        // After the owner: a change of owner clears the set-id bits.
        if (::fchmod(fd, old ? old->st_mode & 07777 : 0600) != 0)
            return Errno("cannot set the permissions of " + path);
        if (::fsync(fd) != 0)
            return Errno("cannot flush " + path + " to disk");
    } catch (const std::exception& e) {
        return std::string("cannot write ") + path + ": " + e.what();
    }
    return {};
}

} // namespace

std::string CSafeFileWriter::ResolveLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path target = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(target, ec))
            return target.string();
        if (!MayFollow(target.string()))
            return {};
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
        return "cannot follow the links of " + path +
               " (a loop, or a link of another user in a folder anyone may write to)";
    const std::string dir = DirectoryOf(target);
    struct stat st {
    }, folder{};
    if (::stat(dir.c_str(), &folder) != 0)
        return Errno("cannot write in " + dir);
    if (!MayWrite(dir, folder))
        return Errno("cannot write in " + dir, EACCES);
    if (::lstat(target.c_str(), &st) != 0)
        return errno == ENOENT ? std::string() : Errno("cannot examine " + target);
    if (!S_ISREG(st.st_mode))
        return target + " is not a regular file";
    if (!MayWrite(target, st))
        return target + " is read-only";
    if (st.st_uid != ::geteuid() && IsSharedStickyFolder(folder))
        return target + " belongs to another user in a folder anyone may write to; choose another name";
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
    SweepStaleTemporaries(dir);

    // Unnamed until complete; file systems without unnamed files get a named one, and so
    // does a process that could not name it later (no /proc, and not root).
    std::string named;
    const bool canName = ::access("/proc/self/fd", F_OK) == 0 || ::geteuid() == 0;
    int fd = canName ? ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
    if (fd < 0) {
        named = TempName(dir) + "-XXXXXX";
        fd = ::mkstemp(named.data());
        if (fd < 0)
            return Errno("cannot create a temporary file in " + dir);
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        const std::string err = Errno("cannot open the temporary file");
        ::close(fd);
        if (!named.empty())
            ::unlink(named.c_str());
        return err;
    }
    std::string err = Fill(f, path, target, existed ? &old : nullptr, write);
    if (err.empty() && named.empty())
        err = NameTemporary(fd, dir, named);
    if (std::fclose(f) != 0 && err.empty())
        err = Errno("cannot write " + path);
    if (err.empty() && ::rename(named.c_str(), target.c_str()) != 0)
        err = Errno("cannot replace " + target);
    if (!err.empty()) {
        if (!named.empty())
            ::unlink(named.c_str());
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
