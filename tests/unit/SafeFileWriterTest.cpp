// The safe writer's treatment of links, modes and owners, and of files or folders
// marked read-only (checked on the mode bits, so that the tests hold under root).
#include "../common/TempDir.h"

#include "model/CSafeFileWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
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
