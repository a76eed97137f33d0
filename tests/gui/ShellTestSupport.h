#pragma once
// Helpers for the application shell tests: a settings store in memory, private
// temporary folders, and projects written to disk.
#include "model/CCorvaneDoc.h"
#include "model/IProfileStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <wx/app.h>
#include <wx/menu.h>

namespace shelltest {

class CMemoryStore : public IProfileStore {
public:
    std::map<std::string, std::string> values;

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) const override {
        const auto it = values.find(section + "/" + entry);
        return it == values.end() ? defaultValue : it->second;
    }
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override {
        values[section + "/" + entry] = value;
        return true;
    }
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override {
        const auto it = values.find(section + "/" + entry);
        return it == values.end() ? defaultValue : std::atoi(it->second.c_str());
    }
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override {
        values[section + "/" + entry] = std::to_string(value);
        return true;
    }
    bool Has(const std::string& section, const std::string& entry) const {
        return values.count(section + "/" + entry) != 0;
    }
};

// A folder that disappears with the object.
class CTempDir {
public:
    CTempDir() {
        char name[] = "/tmp/corvane-shell-XXXXXX";
        m_path = ::mkdtemp(name);
    }
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

inline CFolderProfile MakeProfile(const std::string& host, bool enabled = true, bool download = true,
                                  bool upload = false) {
    CFolderProfile p;
    p.m_strConnection = host;
    p.m_strFtpFolder = "/remote/" + host;
    p.m_strLocalFolder = "/home/operator/" + host;
    p.m_bEnabled = enabled;
    p.m_bDownload = download;
    p.m_bUpload = upload;
    return p;
}

// Writes a project with the given number of profiles; returns its file bytes.
inline std::string WriteProject(const std::string& path, int profiles) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < profiles; ++i)
        doc.m_arrProfiles.push_back(MakeProfile("host" + std::to_string(i)));
    const std::string bytes = doc.SaveToMemory();
    std::ofstream(path, std::ios::binary) << bytes;
    return bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Sets an environment variable for the life of the object.
class CEnvOverride {
public:
    CEnvOverride(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_had = true;
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~CEnvOverride() {
        if (m_had)
            ::setenv(m_name, m_old.c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had = false;
    std::string m_old;
};

// Runs what the message loop would run between two operator actions.
inline void ProcessPending() {
    for (int i = 0; i < 3; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

inline bool MenuItemEnabled(wxMenu* menu, int id) {
    wxMenuItem* item = menu->FindItem(id);
    return item && item->IsEnabled();
}

} // namespace shelltest
