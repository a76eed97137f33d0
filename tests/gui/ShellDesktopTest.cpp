// The per-user desktop files: the launcher's command line for any program path,
// and a refresh that rewrites only what changed and runs only the database tools
// whose files changed (the tools replaced by a recorder).
#include "ShellTestSupport.h"
#include "app/CDesktopIntegration.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace shelltest;

TEST(ShellDesktop, LauncherQuotesTheProgramPathForTheDesktop) {
    struct Case {
        const char* exe;
        const char* exec;
    };
    const Case cases[] = {
        {"/opt/corvane/bin/corvane", "Exec=/opt/corvane/bin/corvane %f"},
        {"/home/op/my apps/corvane", "Exec=\"/home/op/my apps/corvane\" %f"},
        {"/srv/100%/corvane", "Exec=\"/srv/100%%/corvane\" %f"},
        {"/srv/a\"b`c$d\\e/corvane", "Exec=\"/srv/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e/corvane\" %f"},
        {"/srv/two\nlines/co'rv", "Exec=\"/srv/two\\nlines/co'rv\" %f"},
    };
    for (const Case& c : cases) {
        const std::string entry = CDesktopIntegration::MakeDesktopEntry(c.exe);
        EXPECT_NE(entry.find(std::string("\n") + c.exec + "\n"), std::string::npos) << entry;
        EXPECT_EQ(entry.find("Exec="), entry.rfind("Exec=")) << c.exe;
    }
}

TEST(ShellDesktop, RefreshWritesOnlyWhatChangedAndRunsOnlyTheToolsConcerned) {
    TempDir dir;
    const std::string data = dir.Path();
    const std::string mimeTool = "update-mime-database " + data + "/mime";
    const std::string desktopTool = "update-desktop-database " + data + "/applications";
    std::vector<std::string> runs;
    const auto refresh = [&](const std::string& exe) {
        runs.clear();
        return CDesktopIntegration::Refresh(data, exe,
                                            [&runs](const std::string& tool, const std::string& folder) {
                                                runs.push_back(tool + " " + folder);
                                            });
    };
    EXPECT_EQ(refresh("/opt/corvane"), 4);
    EXPECT_EQ(runs, (std::vector{mimeTool, desktopTool}));

    // Unchanged files are not even touched.
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& file : std::filesystem::recursive_directory_iterator(data))
        if (file.is_regular_file())
            std::filesystem::last_write_time(file.path(), old);
    EXPECT_EQ(refresh("/opt/corvane"), 0);
    EXPECT_TRUE(runs.empty());
    for (const auto& file : std::filesystem::recursive_directory_iterator(data))
        EXPECT_TRUE(!file.is_regular_file() || file.last_write_time() == old) << file.path();

    // Started from elsewhere: the launcher alone changes.
    EXPECT_EQ(refresh("/usr/local/bin/corvane"), 1);
    EXPECT_EQ(runs, std::vector{desktopTool});

    // A damaged MIME package is put right; an icon needs no database.
    std::ofstream(dir / "mime/packages/corvane.xml") << "<broken";
    std::filesystem::remove(dir / "icons/hicolor/scalable/apps/corvane.svg");
    EXPECT_EQ(refresh("/usr/local/bin/corvane"), 2);
    EXPECT_EQ(runs, std::vector{mimeTool});
}
