#include "app/CDesktopIntegration.h"

#include "controls/ResourceArt.h"

#include <wx/arrstr.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdlib>
#include <sstream>

namespace {

// Quotes a program path for the Exec key: the desktop entry's own quoting inside
// its string escaping.
std::string QuoteExec(const std::string& path) {
    const bool plain =
        path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._+-") ==
        std::string::npos;
    if (plain)
        return path;
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += "\\\\";
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

bool ReadFile(const wxString& path, std::string& content) {
    wxFFile file(path, "rb");
    if (!file.IsOpened())
        return false;
    content.clear();
    char buffer[4096];
    while (const size_t n = file.Read(buffer, sizeof buffer))
        content.append(buffer, n);
    return !file.Error();
}

// True when the file had to be written (and was).
bool WriteIfDifferent(const std::string& dataHome, const std::string& relative, const std::string& content) {
    if (content.empty())
        return false;
    const wxFileName name(wxString::FromUTF8(dataHome + "/" + relative));
    std::string existing;
    if (ReadFile(name.GetFullPath(), existing) && existing == content)
        return false;
    if (!name.DirExists() && !wxFileName::Mkdir(name.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL))
        return false;
    // Replace through a temporary file so that the desktop never reads half a file.
    const wxString temp = name.GetFullPath() + ".new";
    {
        wxFFile file(temp, "wb");
        if (!file.IsOpened() || !file.Write(content.data(), content.size()) || !file.Close()) {
            wxRemoveFile(temp);
            return false;
        }
    }
    if (!wxRenameFile(temp, name.GetFullPath(), true)) {
        wxRemoveFile(temp);
        return false;
    }
    return true;
}

void RunTool(const char* tool, const std::string& dir) {
    wxPathList path;
    path.AddEnvList("PATH");
    const wxString exe = path.FindAbsoluteValidPath(tool);
    if (exe.empty())
        return;
    wxString quoted = wxString::FromUTF8(dir);
    quoted.Replace("\\", "\\\\");
    quoted.Replace("\"", "\\\"");
    wxArrayString output, errors;
    wxExecute(exe + " \"" + quoted + "\"", output, errors, wxEXEC_BLOCK);
}

} // namespace

std::string CDesktopIntegration::DataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share";
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

int CDesktopIntegration::Refresh(const std::string& dataHome, const std::string& exePath) {
    if (dataHome.empty())
        return 0;
    wxLogNull quiet;
    const bool desktop =
        WriteIfDifferent(dataHome, "applications/corvane.desktop", MakeDesktopEntry(exePath));
    const bool mime = WriteIfDifferent(dataHome, "mime/packages/corvane.xml", GetMimeXml());
    int written = (desktop ? 1 : 0) + (mime ? 1 : 0);
    written +=
        WriteIfDifferent(dataHome, "icons/hicolor/scalable/apps/corvane.svg", GetSvgResource("corvane.svg"));
    written += WriteIfDifferent(dataHome, "icons/hicolor/scalable/mimetypes/application-x-corvane-dix.svg",
                                GetSvgResource("application-x-corvane-dix.svg"));
    if (mime)
        RunTool("update-mime-database", dataHome + "/mime");
    if (desktop)
        RunTool("update-desktop-database", dataHome + "/applications");
    return written;
}
