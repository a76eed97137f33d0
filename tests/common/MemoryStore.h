#pragma once
// A settings store in memory, for code that remembers things between runs.
#include "model/IProfileStore.h"

#include <cstdlib>
#include <map>
#include <string>

class CMemoryStore : public IProfileStore {
public:
    std::map<std::string, std::string> values;
    int writes = 0;

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) const override {
        const auto it = values.find(section + "/" + entry);
        return it == values.end() ? defaultValue : it->second;
    }
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override {
        values[section + "/" + entry] = value;
        ++writes;
        return true;
    }
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override {
        const auto it = values.find(section + "/" + entry);
        return it == values.end() ? defaultValue : std::atoi(it->second.c_str());
    }
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override {
        return WriteProfileString(section, entry, std::to_string(value));
    }
};
