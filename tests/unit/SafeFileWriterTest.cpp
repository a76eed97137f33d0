// The safe writer's treatment of links, modes and owners, and of files or folders
// marked read-only (checked on the mode bits, so that the tests hold under root).
#include "../common/TempDir.h"

#include "model/CSafeFileWriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string WriteText(const std::string& path, const std::string& text) {
    return CSafeFileWriter::Write(path, [&](std::FILE* f) { std::fputs(text.c_str(), f); });
}

struct stat StatOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}

long Entries(const fs::path& dir) {
    return std::distance(fs::directory_iterator(dir), {});
}

} // namespace

TEST(SafeFileWriter, ThroughLinksTheTargetIsWrittenKeepingModeAndOwnerAndTheLinksStay) {
    TempDir dir;
    fs::create_directories(dir.Path() / "conf" / "real");
    fs::create_directory(dir.Path() / "home");
    const std::string target = dir.File("conf/real/sites.dix");
    // home/sites.dix -> ../conf/current.dix (relative) -> conf/real/sites.dix (absolute, not there yet)
    fs::create_symlink(target, dir.Path() / "conf" / "current.dix");
    fs::create_symlink("../conf/current.dix", dir.Path() / "home" / "sites.dix");
    const std::string link = dir.File("home/sites.dix");

    ASSERT_EQ(WriteText(link, "one"), "");
    EXPECT_EQ(StatOf(target).st_mode & 07777, 0600u);
    ::chmod(target.c_str(), 0640);
    // Only root can give a file to someone else, and only then can the owner differ.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    }
    ASSERT_EQ(WriteText(link, "two"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "conf" / "current.dix"));
    EXPECT_EQ(ReadBytes(target), "two");
    const struct stat st = StatOf(target);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }
    // No temporary file is left behind.
    EXPECT_EQ(Entries(dir.Path() / "conf" / "real"), 1);

    // A link loop is refused, not replaced by a file.
    fs::create_symlink("loop", dir.Path() / "loop");
    EXPECT_NE(WriteText(dir.File("loop"), "x"), "");
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "loop"));
}

TEST(SafeFileWriter, AReadOnlyFileOrFolderIsNeverReplaced) {
    struct Case {
        const char* what;
        mode_t file;
        mode_t folder;
    };
    for (const Case& c : {Case{"read-only file", 0444, 0755}, Case{"read-only folder", 0600, 0555}}) {
        TempDir dir;
        const fs::path folder = dir.Path() / "d";
        fs::create_directory(folder);
        const std::string path = (folder / "p.dix").string();
        WriteBytes(path, "old");
        fs::create_symlink(path, dir.Path() / "link.dix");
        ::chmod(path.c_str(), c.file);
        ::chmod(folder.c_str(), c.folder);

        EXPECT_NE(CSafeFileWriter::CheckReplaceable(path), "") << c.what;
        EXPECT_NE(WriteText(path, "new"), "") << c.what;
        EXPECT_NE(WriteText(dir.File("link.dix"), "new"), "") << c.what;
        ::chmod(folder.c_str(), 0755);
        EXPECT_EQ(ReadBytes(path), "old") << c.what;
        EXPECT_EQ(StatOf(path).st_mode & 07777, c.file) << c.what;
        EXPECT_EQ(Entries(folder), 1) << c.what;
    }
}

// In a folder anyone may write to (sticky, as /tmp), links are followed only as the kernel
// would follow them, and a file another user put there never receives the passwords.
// Other users are made by handing links and files to other ids, which needs root.
TEST(SafeFileWriter, InASharedStickyFolderOnlyTheKernelsLinksAreFollowed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand files to other users";
    constexpr uid_t kOther = 4321, kFolderOwner = 4322;
    struct Case {
        const char* what;
        bool link;
        uid_t owner;
        bool written;
    } const cases[] = {
        {"link of another user", true, kOther, false},
        {"link of the folder's owner", true, kFolderOwner, true},
        {"link of the writer", true, 0, true},
        {"file of another user", false, kOther, false},
        {"file of the writer", false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path shared = dir.Path() / "shared";
        fs::create_directory(shared);
        ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
        ASSERT_EQ(::chown(shared.c_str(), kFolderOwner, kFolderOwner), 0);
        const std::string victim = dir.File("victim"), path = (shared / "p.dix").string();
        WriteBytes(victim, "old");
        if (c.link) {
            fs::create_symlink(victim, path);
            ASSERT_EQ(::lchown(path.c_str(), c.owner, c.owner), 0);
        } else {
            WriteBytes(path, "old");
            ::chmod(path.c_str(), 0666);
            ASSERT_EQ(::chown(path.c_str(), c.owner, c.owner), 0);
        }
        const std::string written = WriteText(path, "passwords");
        EXPECT_EQ(written.empty(), c.written) << written;
        EXPECT_EQ(ReadBytes(c.link ? victim : path), c.written ? "passwords" : "old");
        EXPECT_EQ(fs::is_symlink(path), c.link);
    }
}

// A save killed half-way leaves no temporary file behind, and a named one that an older
// save left (where unnamed files are not available) is removed once its process is gone.
TEST(SafeFileWriter, AKilledSaveLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("p.dix");
    WriteBytes(path, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CSafeFileWriter::Write(path, [](std::FILE* f) {
            std::fputs("half", f);
            std::fflush(f);
            ::raise(SIGKILL);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(Entries(dir.Path()), 1);

    // The dead child's id, and ours (a save in progress), as a named save would have left them.
    const std::string stale = dir.File(".corvane-save-" + std::to_string(child) + "-123");
    const std::string live = dir.File(".corvane-save-" + std::to_string(::getpid()) + "-456");
    WriteBytes(stale, "secret");
    WriteBytes(live, "secret");
    ASSERT_EQ(WriteText(path, "new"), "");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_EQ(ReadBytes(path), "new");
}
