#pragma once
// Components creatable by programmatic identifier, in place of the system's class
// registry. Tests register recording components under the real identifiers.
#include "platform/IDispatch.h"

#include <functional>
#include <memory>
#include <string>

class CAutomationRegistry {
public:
    using Factory = std::function<std::shared_ptr<IDispatch>()>;

    // Replaces any factory registered under the same identifier; returns the previous one (may be empty).
    static Factory Register(const std::string& progId, Factory factory);
    static void Unregister(const std::string& progId);
    // Throws COleException when nothing is registered under the identifier or the factory fails.
    static std::shared_ptr<IDispatch> Create(const std::string& progId);
};
