#include "platform/CSettingsStore.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/wfstream.h>

#include <cstdlib>
#include <sys/stat.h>

namespace {

wxString Key(const std::string& section, const std::string& entry) {
    return "/" + wxString::FromUTF8(section) + "/" + wxString::FromUTF8(entry);
}

} // namespace

std::string CSettingsStore::DefaultPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    return base + "/Halden/Corvane.conf";
}

CSettingsStore::CSettingsStore(const std::string& path) : m_strPath(path.empty() ? DefaultPath() : path) {
    // A damaged file must not put up warnings or stop start-up: read what parses.
    wxLogNull quiet;
    wxFileInputStream in(wxString::FromUTF8(m_strPath));
    if (in.IsOk())
        m_config = std::make_unique<wxFileConfig>(in);
    else
        m_config = std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, wxEmptyString, wxEmptyString,
                                                  wxCONFIG_USE_LOCAL_FILE);
    m_config->SetExpandEnvVars(false);
    m_config->SetUmask(0077);
}

CSettingsStore::~CSettingsStore() {
    Flush();
}

std::string CSettingsStore::GetProfileString(const std::string& section, const std::string& entry,
                                             const std::string& defaultValue) const {
    wxString value;
    if (!m_config->Read(Key(section, entry), &value))
        return defaultValue;
    return value.ToStdString(wxConvUTF8);
}

bool CSettingsStore::WriteProfileString(const std::string& section, const std::string& entry,
                                        const std::string& value) {
    if (!m_config->Write(Key(section, entry), wxString::FromUTF8(value)))
        return false;
    return Flush();
}

int CSettingsStore::GetProfileInt(const std::string& section, const std::string& entry,
                                  int defaultValue) const {
    long value = 0;
    if (!m_config->Read(Key(section, entry), &value))
        return defaultValue;
    return static_cast<int>(value);
}

bool CSettingsStore::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    if (!m_config->Write(Key(section, entry), static_cast<long>(value)))
        return false;
    return Flush();
}

wxConfigBase& CSettingsStore::GetConfig() {
    return *m_config;
}

bool CSettingsStore::Flush() {
    wxLogNull quiet;
    const wxFileName file(wxString::FromUTF8(m_strPath));
    if (!file.DirExists() && !wxFileName::Mkdir(file.GetPath(), 0700, wxPATH_MKDIR_FULL))
        return false;
    // Save through a temporary file so an interrupted write leaves the old settings.
    wxTempFileOutputStream out(file.GetFullPath());
    if (!out.IsOk() || !m_config->Save(out) || !out.Commit())
        return false;
    // Recent project paths are nobody else's business.
    ::chmod(m_strPath.c_str(), 0600);
    return true;
}
