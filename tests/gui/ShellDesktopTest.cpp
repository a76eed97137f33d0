// The per-user desktop files: the launcher's command line for any program path, a
// registration that rewrites only what changed and runs only the database tools whose
// files changed (the tools replaced by a recorder), its removal, and the test that
// keeps an installed program from writing any of it.
#include "../common/ShellTestSupport.h"
#include "app/CDesktopIntegration.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

using namespace shelltest;

namespace {

const std::string kLauncher = "applications/org.corvane.corvane.desktop";

// The program run from the build tree without a display; its exit status and output.
std::pair<int, std::string> RunProgram(const std::string& env, const std::string& args) {
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY " + env + " '" CORVANE_PROGRAM "' " + args + " 2>&1";
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return {-1, out};
    std::array<char, 4096> buf;
    while (const std::size_t n = std::fread(buf.data(), 1, buf.size(), p))
        out.append(buf.data(), n);
    const int status = ::pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

} // namespace

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

TEST(ShellDesktop, RegisterWritesOnlyWhatChangedAndUnregisterTakesItAllBack) {
    TempDir dir;
    const std::string data = dir.Path();
    const std::string mimeTool = "update-mime-database " + data + "/mime";
    const std::string desktopTool = "update-desktop-database " + data + "/applications";
    std::vector<std::string> runs;
    const auto recorder = [&runs](const std::string& tool, const std::string& folder) {
        runs.push_back(tool + " " + folder);
    };
    const auto reg = [&](const std::string& exe) {
        runs.clear();
        return CDesktopIntegration::Register(data, exe, recorder);
    };
    EXPECT_EQ(reg("/opt/corvane"), 4);
    EXPECT_EQ(runs, (std::vector{mimeTool, desktopTool}));

    // Unchanged files are not even touched.
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& file : std::filesystem::recursive_directory_iterator(data))
        if (file.is_regular_file())
            std::filesystem::last_write_time(file.path(), old);
    EXPECT_EQ(reg("/opt/corvane"), 0);
    EXPECT_TRUE(runs.empty());
    for (const auto& file : std::filesystem::recursive_directory_iterator(data))
        EXPECT_TRUE(!file.is_regular_file() || file.last_write_time() == old) << file.path();

    // Started from elsewhere: the launcher alone changes.
    EXPECT_EQ(reg("/usr/local/bin/corvane"), 1);
    EXPECT_EQ(runs, std::vector{desktopTool});

    // A damaged MIME package is put right; an icon needs no database.
    std::ofstream(dir / "mime/packages/corvane.xml") << "<broken";
    std::filesystem::remove(dir / "icons/hicolor/scalable/apps/corvane.svg");
    EXPECT_EQ(reg("/usr/local/bin/corvane"), 2);
    EXPECT_EQ(runs, std::vector{mimeTool});

    // Removal takes the launcher an earlier version wrote at every start too, and
    // leaves no file behind.
    std::ofstream(dir / "applications/corvane.desktop") << "[Desktop Entry]\n";
    runs.clear();
    EXPECT_EQ(CDesktopIntegration::Unregister(data, recorder), 5);
    EXPECT_EQ(runs, (std::vector{mimeTool, desktopTool}));
    for (const auto& file : std::filesystem::recursive_directory_iterator(data))
        EXPECT_FALSE(file.is_regular_file()) << file.path();
    runs.clear();
    EXPECT_EQ(CDesktopIntegration::Unregister(data, recorder), 0);
    EXPECT_TRUE(runs.empty());
}

TEST(ShellDesktop, AnInstalledProgramIsKnownByItsSystemLauncher) {
    TempDir dir;
    const std::string prefix = dir / "prefix";
    const std::string launcher = prefix + "/share/" + kLauncher;
    std::filesystem::create_directories(std::filesystem::path(launcher).parent_path());
    std::ofstream(launcher) << "[Desktop Entry]\n";
    const std::string otherData = dir / "data";
    std::filesystem::create_directories(otherData + "/applications");
    std::filesystem::copy_file(launcher, otherData + "/" + kLauncher);
    struct Case {
        const char* xdgDataDirs;
        std::string exe;
        std::string entry;
    };
    const Case cases[] = {
        {"", prefix + "/bin/corvane", launcher}, // beside the program's prefix
        {"", dir / "build/corvane", ""},         // a build tree
        {otherData.c_str(), dir / "build/corvane", otherData + "/" + kLauncher}, // a system folder
        {"", "/usr/bin/corvane", "/usr/share/" + kLauncher},                     // the package's place
    };
    for (const Case& c : cases) {
        CEnvOverride dirs("XDG_DATA_DIRS", *c.xdgDataDirs ? std::string(c.xdgDataDirs) : dir / "empty");
        EXPECT_EQ(CDesktopIntegration::SystemEntry(c.exe), c.entry) << c.exe;
    }
}

TEST(ShellDesktop, ABuildTreeRegistersOnlyWhenAskedAndWithoutADisplay) {
    TempDir dir;
    const std::string env =
        "XDG_DATA_HOME='" + dir.File("data") + "' XDG_DATA_DIRS='" + dir.File("none") + "'";
    const auto [registered, out] = RunProgram(env, "--register-desktop");
    EXPECT_EQ(registered, 0) << out;
    const std::string entry = ReadBytes(dir / ("data/" + kLauncher));
    EXPECT_NE(entry.find("Exec=" CORVANE_PROGRAM " %f"), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=application/x-corvane-dix;"), std::string::npos) << entry;
    EXPECT_NE(ReadBytes(dir / "data/mime/packages/corvane.xml").find("*.dix"), std::string::npos);

    const auto [unregistered, out2] = RunProgram(env, "--unregister-desktop");
    EXPECT_EQ(unregistered, 0) << out2;
    EXPECT_FALSE(std::filesystem::exists(dir / ("data/" + kLauncher)));
    EXPECT_FALSE(std::filesystem::exists(dir / "data/mime/packages/corvane.xml"));
}
