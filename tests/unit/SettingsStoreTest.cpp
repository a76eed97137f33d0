#include "../common/EnvOverride.h"
#include "../common/TempDir.h"

#include "platform/CSettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;

TEST(SettingsStore, LivesUnderTheMakerAndProgramNamesAndSurvivesARestart) {
    TempDir dir;
    CEnvOverride home("XDG_CONFIG_HOME", dir.Path().string());
    EXPECT_EQ(CSettingsStore::DefaultPath(), dir.File("Halden/Corvane.conf"));
    {
        CSettingsStore store;
        EXPECT_TRUE(store.WriteProfileString("Project", "CfgPath", "/srv/caf\xC3\xA9"));
        EXPECT_TRUE(store.WriteProfileInt("View", "w3", 120));
    }
    const std::string text = ReadBytes(dir.File("Halden/Corvane.conf"));
    EXPECT_NE(text.find("[Project]"), std::string::npos);
    EXPECT_NE(text.find("[View]"), std::string::npos);
    CSettingsStore again;
    EXPECT_EQ(again.GetProfileString("Project", "CfgPath"), "/srv/caf\xC3\xA9");
    EXPECT_EQ(again.GetProfileInt("View", "w3", 0), 120);
    EXPECT_EQ(again.GetProfileInt("View", "w4", -7), -7);
    struct stat st {};
    ::stat(dir.File("Halden/Corvane.conf").c_str(), &st);
    EXPECT_EQ(st.st_mode & 077, 0u);
}

// Files that earlier versions wrote (escaped names, quoted values, comments) read
// as they always did, and a write changes its one line and nothing else.
TEST(SettingsStore, ReadsEarlierFilesAndChangesOnlyTheKeyWritten) {
    TempDir dir;
    const std::string path = dir.File("Corvane.conf");
    const std::string before = "; kept as it is\n"
                               "[Project]\n"
                               "CfgPath=/home/op/proj\n"
                               "[Recent\\ File\\ List]\n"
                               "File1=/srv/a b.dix\n"
                               "File2=\"  lead\\tand \\\"quote\\\" \\\\ end\"\n"
                               "File3=C:\\\\x\r\n"
                               "[View]\n"
                               "w0 = 140\n"
                               "w1=wide\n"
                               "[Other]\n"
                               "unknown=value\n";
    WriteBytes(path, before);
    CSettingsStore store(path);
    EXPECT_EQ(store.GetProfileString("Project", "CfgPath"), "/home/op/proj");
    EXPECT_EQ(store.GetProfileString("Recent File List", "File1"), "/srv/a b.dix");
    EXPECT_EQ(store.GetProfileString("Recent File List", "File2"), "  lead\tand \"quote\" \\ end");
    EXPECT_EQ(store.GetProfileString("Recent File List", "File3"), "C:\\x");
    EXPECT_EQ(store.GetProfileInt("View", "w0", 0), 140);
    EXPECT_EQ(store.GetProfileInt("View", "w1", 9), 9);

    // Values that need quoting and escapes come back as they went in.
    for (const std::string value : {" x", "\"q\" ", "a\nb\\c\td", ""}) {
        ASSERT_TRUE(store.WriteProfileString("Recent File List", "File2", value));
        EXPECT_EQ(store.GetProfileString("Recent File List", "File2", "?"), value);
    }
    ASSERT_TRUE(store.WriteProfileString("Recent File List", "File2", "  lead\tand \"quote\" \\ end"));
    ASSERT_TRUE(store.WriteProfileInt("View", "w2", 75));
    ASSERT_TRUE(store.WriteProfileString("New Section", "k", "v"));
    std::string expected = before;
    expected.insert(expected.find("[Other]"), "w2=75\n");
    expected += "[New\\ Section]\nk=v\n";
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST(SettingsStore, DamagedOrUnreadableFilesFallBackToDefaults) {
    TempDir dir;
    CEnvOverride home("XDG_CONFIG_HOME", dir.Path().string());
    std::filesystem::create_directories(dir.File("Halden"));
    const std::string junk = "\x00\xFF[[[View\n=oops\n[View]\nw0=abc\n\x01"s;
    WriteBytes(dir.File("Halden/Corvane.conf"), junk);
    {
        CSettingsStore store;
        EXPECT_EQ(store.GetProfileInt("View", "w0", 5), 5);
        EXPECT_EQ(store.GetProfileString("Project", "CfgPath", "d"), "d");
        EXPECT_TRUE(store.WriteProfileInt("View", "w1", 80));
    }
    EXPECT_EQ(CSettingsStore().GetProfileInt("View", "w1", 0), 80);
    // What could not be understood is still there.
    EXPECT_TRUE(ReadBytes(dir.File("Halden/Corvane.conf")).starts_with(junk.substr(0, junk.find("w0"))));

    // A directory where the file should be: reads give defaults, writes fail quietly.
    TempDir other;
    CEnvOverride home2("XDG_CONFIG_HOME", other.Path().string());
    std::filesystem::create_directories(other.File("Halden/Corvane.conf"));
    CSettingsStore store;
    EXPECT_EQ(store.GetProfileInt("View", "w0", 3), 3);
    EXPECT_FALSE(store.WriteProfileInt("View", "w0", 1));
}

// Another process (or another window's store) holds the lock while it changes the file: a
// write waits for it and keeps its change; a lock never released fails the write, not the file.
TEST(SettingsStore, WriteWaitsForAnotherProcessHoldingTheLock) {
    TempDir dir;
    const std::string path = dir.File("Corvane.conf");
    WriteBytes(path, "[View]\nw0=1\n");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        ::usleep(300 * 1000);
        WriteBytes(path, "[View]\nw0=1\n[Other]\nkey=from the other process\n");
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    CSettingsStore store(path);
    EXPECT_TRUE(store.WriteProfileInt("View", "w1", 2));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(store.GetProfileString("Other", "key"), "from the other process");
    EXPECT_EQ(store.GetProfileInt("View", "w1", 0), 2);

    // A lock of its own open file counts as anybody else's.
    const int held = ::open((path + ".lock").c_str(), O_RDWR);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const std::string kept = ReadBytes(path);
    EXPECT_FALSE(CSettingsStore(path, std::chrono::milliseconds(100)).WriteProfileInt("View", "w1", 3));
    EXPECT_EQ(ReadBytes(path), kept);
    ::close(held);
    ::close(ready[0]);
    ::close(ready[1]);
}
