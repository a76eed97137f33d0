#include "platform/CAutomationRegistry.h"

#include "platform/COleException.h"

#include <map>
#include <mutex>

namespace {

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, CAutomationRegistry::Factory>& Factories() {
    static std::map<std::string, CAutomationRegistry::Factory> f;
    return f;
}

} // namespace

CAutomationRegistry::Factory CAutomationRegistry::Register(const std::string& progId, Factory factory) {
    std::lock_guard lock(RegistryMutex());
    auto& slot = Factories()[progId];
    Factory previous = std::move(slot);
    slot = std::move(factory);
    return previous;
}

void CAutomationRegistry::Unregister(const std::string& progId) {
    std::lock_guard lock(RegistryMutex());
    Factories().erase(progId);
}

std::shared_ptr<IDispatch> CAutomationRegistry::Create(const std::string& progId) {
    Factory factory;
    {
        std::lock_guard lock(RegistryMutex());
        const auto it = Factories().find(progId);
        if (it != Factories().end())
            factory = it->second;
    }
    if (!factory)
        throw COleException("Invalid class string: no component is registered as \"" + progId + "\".");
    auto object = factory();
    if (!object)
        throw COleException("The component \"" + progId + "\" could not be created.");
    return object;
}
