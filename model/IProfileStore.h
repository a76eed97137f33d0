#pragma once
// The per-user settings store as the model sees it: sections of named values.
// The platform layer provides the real one; tests use an in-memory one.
#include <string>

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue = {}) const = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;
    virtual int GetProfileInt(const std::string& section, const std::string& entry,
                              int defaultValue) const = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& entry, int value) = 0;
};
