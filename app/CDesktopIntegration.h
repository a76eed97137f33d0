#pragma once
// Makes the desktop know the program and its ".dix" files for the current user:
// a launcher entry that opens files with this very program, the MIME type with its
// glob, and the icons, all under $XDG_DATA_HOME. Like a shell registration it runs
// at every start and never complains: whatever fails is simply left as it is.
#include <string>

class CDesktopIntegration {
public:
    // $XDG_DATA_HOME, or ~/.local/share; empty when neither can be found.
    static std::string DataHome();

    // Writes each copy that is missing or differs, then refreshes the MIME and
    // desktop databases that changed, when their tools exist. Returns the number
    // of files written.
    static int Refresh(const std::string& dataHome, const std::string& exePath);

    // The launcher entry with its command pointing at `exePath`.
    static std::string MakeDesktopEntry(const std::string& exePath);
};
