#include "app/CDesktopIntegration.h"

#include "controls/ResourceArt.h"
#include "model/CSafeFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// The Exec key's value for a program path: the path as one argument of the
// desktop entry's command line (quoted when it holds anything but plain
// characters, with "%" doubled), then the string escapes of every key's value.
std::string QuoteExec(const std::string& path) {
    std::string arg = path;
    if (path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._+-") !=
        std::string::npos) {
        arg = "\"";
        for (const char c : path) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                arg += '\\';
            else if (c == '%')
                arg += '%';
            arg += c;
        }
        arg += '"';
    }
    std::string value;
    for (const char c : arg) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
        }
    }
    return value;
}

// True when the file had to be written (and was). An unchanged file is left alone,
// so that the desktop's caches see nothing new.
bool WriteIfDifferent(const std::string& dataHome, const std::string& relative, const std::string& content) {
    if (content.empty())
        return false;
    const std::filesystem::path path = dataHome + "/" + relative;
    {
        std::ifstream in(path, std::ios::binary);
        if (in && std::string(std::istreambuf_iterator<char>(in), {}) == content)
            return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const bool written = CSafeFileWriter::Write(path.string(), [&content](std::FILE* f) {
                             if (std::fwrite(content.data(), 1, content.size(), f) != content.size())
                                 throw std::runtime_error(std::strerror(errno));
                         }).empty();
    // Launchers and icons are nobody's secret: readable as any shared data file.
    if (written)
        ::chmod(path.c_str(), 0644);
    return written;
}

// What a registration writes, by file under the data folder: the launcher first,
// then the MIME package, then the icons (which need no database).
struct RegisteredFile {
    const char* relative;
    std::string (*content)(const std::string& exePath);
};

const RegisteredFile kRegisteredFiles[] = {
    {"applications/org.corvane.corvane.desktop",
     [](const std::string& exe) { return CDesktopIntegration::MakeDesktopEntry(exe); }},
    {"mime/packages/corvane.xml", [](const std::string&) { return GetMimeXml(); }},
    {"icons/hicolor/scalable/apps/corvane.svg",
     [](const std::string&) { return GetSvgResource("corvane.svg"); }},
    {"icons/hicolor/scalable/mimetypes/application-x-corvane-dix.svg",
     [](const std::string&) { return GetSvgResource("application-x-corvane-dix.svg"); }},
};
// Earlier versions wrote their launcher under this name at every start.
constexpr const char* kOldLauncher = "applications/corvane.desktop";

bool IsRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string CDesktopIntegration::DataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share";
    return {};
}

std::string CDesktopIntegration::SystemEntry(const std::string& exePath) {
    const std::filesystem::path exe(exePath);
    std::vector<std::string> dirs = {(exe.parent_path().parent_path() / "share").string()};
    const char* xdg = std::getenv("XDG_DATA_DIRS");
    std::istringstream list(xdg && *xdg ? xdg : "/usr/local/share:/usr/share");
    for (std::string dir; std::getline(list, dir, ':');)
        if (!dir.empty() && dir.front() == '/')
            dirs.push_back(dir);
    for (const std::string& dir : dirs)
        if (const std::string entry = dir + "/applications/" + kDesktopFile; IsRegularFile(entry))
            return entry;
    if (exePath.rfind("/usr/", 0) == 0)
        return "/usr/share/applications/" + std::string(kDesktopFile);
    return {};
}

std::string CDesktopIntegration::MakeDesktopEntry(const std::string& exePath) {
    std::istringstream in(GetDesktopFile());
    std::string entry, line;
    while (std::getline(in, line)) {
        if (line.rfind("Exec=", 0) == 0 && !exePath.empty())
            line = "Exec=" + QuoteExec(exePath) + " %f";
        entry += line + "\n";
    }
    return entry;
}

void CDesktopIntegration::RunTool(const std::string& tool, const std::string& dir) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(tool.c_str()), const_cast<char*>(dir.c_str()), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, tool.c_str(), &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

int CDesktopIntegration::Register(const std::string& dataHome, const std::string& exePath,
                                  const ToolRunner& run) {
    if (dataHome.empty())
        return 0;
    bool changed[2] = {false, false};
    int written = 0;
    for (std::size_t i = 0; i < std::size(kRegisteredFiles); ++i) {
        const RegisteredFile& file = kRegisteredFiles[i];
        const bool wrote = WriteIfDifferent(dataHome, file.relative, file.content(exePath));
        written += wrote ? 1 : 0;
        if (i < 2)
            changed[i] = wrote;
    }
    if (changed[1])
        run("update-mime-database", dataHome + "/mime");
    if (changed[0])
        run("update-desktop-database", dataHome + "/applications");
    return written;
}

int CDesktopIntegration::Unregister(const std::string& dataHome, const ToolRunner& run) {
    if (dataHome.empty())
        return 0;
    const auto remove = [&dataHome](const char* relative) {
        std::error_code ec;
        return std::filesystem::remove(dataHome + "/" + relative, ec) ? 1 : 0;
    };
    const int launchers = remove(kRegisteredFiles[0].relative) + remove(kOldLauncher);
    const int mime = remove(kRegisteredFiles[1].relative);
    int removed = launchers + mime;
    for (std::size_t i = 2; i < std::size(kRegisteredFiles); ++i)
        removed += remove(kRegisteredFiles[i].relative);
    if (mime)
        run("update-mime-database", dataHome + "/mime");
    if (launchers)
        run("update-desktop-database", dataHome + "/applications");
    return removed;
}
