#pragma once
// The per-user settings store, in place of the registry key Software\Halden\Corvane:
// an INI file at $XDG_CONFIG_HOME/Halden/Corvane.conf, one group per section, in the
// layout (names, escapes, quoting) that earlier versions of the program wrote.
//
// Several windows of the program may share the file, so nothing is cached: a read
// reads the file, and a write changes its one key under a lock on a file beside it,
// re-reading the file first and replacing it through a temporary file. Every other
// line, including ones this program does not understand, is kept as it was.
// A missing, damaged or unreadable file never stops the program: reads give the
// defaults; a write that could not keep the other keys is not made.
#include "model/IProfileStore.h"

#include <chrono>
#include <string>

class CSettingsStore : public IProfileStore {
public:
    // How long a write waits for another process to finish its own.
    static constexpr std::chrono::milliseconds kLockWait{2000};

    // Uses the default location (see DefaultPath) unless a path is given.
    explicit CSettingsStore(const std::string& path = {}, std::chrono::milliseconds lockWait = kLockWait);

    // $XDG_CONFIG_HOME/Halden/Corvane.conf, or ~/.config/Halden/Corvane.conf.
    static std::string DefaultPath();
    const std::string& GetPath() const { return m_strPath; }

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) const override;
    // False when the file could not be changed (it is then left as it was).
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

private:
    std::string m_strPath;
    std::chrono::milliseconds m_lockWait;
};
