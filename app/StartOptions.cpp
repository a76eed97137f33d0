#include "app/StartOptions.h"

#include "app/CDesktopIntegration.h"

#include <filesystem>
#include <ostream>
#include <string_view>

namespace corvane {
namespace {

constexpr std::string_view kHelp =
    "Usage: corvane [PROJECT.dix]\n"
    "Edit the project file of the FTP folder-synchronisation service.\n"
    "\n"
    "  --register-desktop    add the launcher, the .dix file type and the icons\n"
    "                        for this user (a program that was not installed)\n"
    "  --unregister-desktop  remove what --register-desktop added\n"
    "  --help                show this help and exit\n"
    "  --version             show the version and exit\n";

std::string ExecutablePath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

int RegisterDesktop(std::ostream& out, std::ostream& err) {
    const std::string exe = ExecutablePath();
    if (const std::string entry = CDesktopIntegration::SystemEntry(exe); !entry.empty()) {
        out << "corvane: installed (" << entry << "); nothing written for this user\n";
        return 0;
    }
    const std::string dataHome = CDesktopIntegration::DataHome();
    if (dataHome.empty()) {
        err << "corvane: neither XDG_DATA_HOME nor HOME is set\n";
        return 1;
    }
    const int written = CDesktopIntegration::Register(dataHome, exe);
    out << "corvane: registered " << exe << " under " << dataHome << " (" << written << " files written)\n";
    return 0;
}

int UnregisterDesktop(std::ostream& out, std::ostream& err) {
    const std::string dataHome = CDesktopIntegration::DataHome();
    if (dataHome.empty()) {
        err << "corvane: neither XDG_DATA_HOME nor HOME is set\n";
        return 1;
    }
    out << "corvane: " << CDesktopIntegration::Unregister(dataHome) << " files removed from " << dataHome
        << "\n";
    return 0;
}

} // namespace

std::optional<int> AnswerWithoutToolkit(int argc, const char* const* argv, std::ostream& out,
                                        std::ostream& err) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--version") {
            out << "corvane " CORVANE_VERSION "\n";
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return 0;
        }
        if (arg == "--register-desktop")
            return RegisterDesktop(out, err);
        if (arg == "--unregister-desktop")
            return UnregisterDesktop(out, err);
    }
    return std::nullopt;
}

} // namespace corvane
