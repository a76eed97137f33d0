#pragma once
// Makes the desktop know a program that was not installed, for the current user:
// a launcher entry that opens files with this very program, the MIME type with its
// glob, and the icons, all under $XDG_DATA_HOME. An installed program never writes
// there (the package registered it for every user), and a build tree only when asked
// (`corvane --register-desktop`); `--unregister-desktop` takes it all back.
// Nothing here touches the toolkit, so it runs before the toolkit starts.
#include <functional>
#include <string>

class CDesktopIntegration {
public:
    // Runs one of the desktop's database tools on a folder and waits for it.
    using ToolRunner = std::function<void(const std::string& tool, const std::string& dir)>;

    // The launcher's file name, the same for the package and a per-user registration.
    static constexpr const char* kDesktopFile = "org.corvane.corvane.desktop";

    // $XDG_DATA_HOME, or ~/.local/share; empty when neither can be found.
    static std::string DataHome();

    // The launcher entry that the package or `cmake --install` put in a system data
    // folder ($XDG_DATA_DIRS) or beside the program (PREFIX/share for PREFIX/bin), or
    // empty when the program is not installed. A program under /usr counts as
    // installed even without one.
    static std::string SystemEntry(const std::string& exePath);

    // Writes each copy that is missing or differs, then has `run` refresh the MIME
    // and desktop databases whose files changed. Returns the number of files written.
    static int Register(const std::string& dataHome, const std::string& exePath,
                        const ToolRunner& run = RunTool);

    // Removes every file Register writes (and the launcher that earlier versions wrote
    // at every start), then refreshes the databases concerned. Returns the number removed.
    static int Unregister(const std::string& dataHome, const ToolRunner& run = RunTool);

    // The launcher entry with its command pointing at `exePath`.
    static std::string MakeDesktopEntry(const std::string& exePath);

    // Runs the tool found on PATH with the folder as its one argument; a missing
    // tool is passed over.
    static void RunTool(const std::string& tool, const std::string& dir);
};
