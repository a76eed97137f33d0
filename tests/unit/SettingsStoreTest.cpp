#include "TempDir.h"

#include "platform/CSettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace {

// Points the default location at a private directory for the test's lifetime.
class ScopedConfigHome {
public:
    explicit ScopedConfigHome(const std::string& dir) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            m_old = old, m_had = true;
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    ~ScopedConfigHome() {
        if (m_had)
            ::setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

private:
    std::string m_old;
    bool m_had = false;
};

} // namespace

TEST(SettingsStore, LivesUnderTheMakerAndProgramNamesAndSurvivesARestart) {
    TempDir dir;
    ScopedConfigHome home(dir.Path().string());
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

TEST(SettingsStore, DamagedOrUnreadableFilesFallBackToDefaults) {
    TempDir dir;
    ScopedConfigHome home(dir.Path().string());
    std::filesystem::create_directories(dir.File("Halden"));
    WriteBytes(dir.File("Halden/Corvane.conf"), std::string("\x00\xFF[[[View\n=oops\nw0=abc\n\x01", 20));
    {
        CSettingsStore store;
        EXPECT_EQ(store.GetProfileInt("View", "w0", 5), 5);
        EXPECT_EQ(store.GetProfileString("Project", "CfgPath", "d"), "d");
        EXPECT_TRUE(store.WriteProfileInt("View", "w1", 80));
    }
    EXPECT_EQ(CSettingsStore().GetProfileInt("View", "w1", 0), 80);

    // A directory where the file should be: reads give defaults, writes fail quietly.
    TempDir other;
    ScopedConfigHome home2(other.Path().string());
    std::filesystem::create_directories(other.File("Halden/Corvane.conf"));
    CSettingsStore store;
    EXPECT_EQ(store.GetProfileInt("View", "w0", 3), 3);
    EXPECT_FALSE(store.WriteProfileInt("View", "w0", 1));
}
