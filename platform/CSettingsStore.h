#pragma once
// The per-user settings store, in place of the registry key Software\Halden\Corvane:
// an INI file at $XDG_CONFIG_HOME/Halden/Corvane.conf, one group per section.
// A missing, corrupt or unreadable file never stops the program: defaults are used.
#include "model/IProfileStore.h"

#include <memory>
#include <string>

class wxFileConfig;
class wxConfigBase;

class CSettingsStore : public IProfileStore {
public:
    // Uses the default location (see DefaultPath) unless a path is given.
    explicit CSettingsStore(const std::string& path = {});
    ~CSettingsStore() override;

    // $XDG_CONFIG_HOME/Halden/Corvane.conf, or ~/.config/Halden/Corvane.conf.
    static std::string DefaultPath();
    const std::string& GetPath() const { return m_strPath; }

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) const override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

    // For wx facilities that persist themselves (the recent-file list). Call Flush() after.
    wxConfigBase& GetConfig();
    // Writes pending changes to disk; false when the file cannot be written.
    bool Flush();

private:
    std::string m_strPath;
    std::unique_ptr<wxFileConfig> m_config;
};
