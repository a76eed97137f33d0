#pragma once
// Sets an environment variable for the life of the object and then restores it
// (or removes it when it was not set before).
#include <cstdlib>
#include <optional>
#include <string>

class CEnvOverride {
public:
    CEnvOverride(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~CEnvOverride() {
        if (m_old)
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    CEnvOverride(const CEnvOverride&) = delete;
    CEnvOverride& operator=(const CEnvOverride&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};
