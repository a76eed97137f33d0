#pragma once
// Makes the desktop know the program and its ".dix" files for the current user:
// a launcher entry that opens files with this very program, the MIME type with its
// glob, and the icons, all under $XDG_DATA_HOME. Like a shell registration it runs
// at every start and never complains: whatever fails is simply left as it is.
// Nothing here touches the toolkit, so it may run on a worker thread.
#include <functional>
#include <string>

class CDesktopIntegration {
public:
    // Runs one of the desktop's database tools on a folder and waits for it.
    using ToolRunner = std::function<void(const std::string& tool, const std::string& dir)>;

    // $XDG_DATA_HOME, or ~/.local/share; empty when neither can be found.
    static std::string DataHome();

    // Writes each copy that is missing or differs, then has `run` refresh the MIME
    // and desktop databases whose files changed. Returns the number of files written.
    static int Refresh(const std::string& dataHome, const std::string& exePath,
                       const ToolRunner& run = RunTool);

    // The launcher entry with its command pointing at `exePath`.
    static std::string MakeDesktopEntry(const std::string& exePath);

    // Runs the tool found on PATH with the folder as its one argument; a missing
    // tool is passed over.
    static void RunTool(const std::string& tool, const std::string& dir);
};
