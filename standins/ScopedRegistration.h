#pragma once
// Registers a stand-in component under an identifier for the scope, then puts back
// whatever was registered there before.
#include "platform/CAutomationRegistry.h"

#include <string>
#include <utility>

class CScopedRegistration {
public:
    CScopedRegistration(std::string progId, CAutomationRegistry::Factory factory)
        : m_progId(std::move(progId)),
          m_previous(CAutomationRegistry::Register(m_progId, std::move(factory))) {}
    ~CScopedRegistration() {
        if (m_previous)
            CAutomationRegistry::Register(m_progId, m_previous);
        else
            CAutomationRegistry::Unregister(m_progId);
    }
    CScopedRegistration(const CScopedRegistration&) = delete;
    CScopedRegistration& operator=(const CScopedRegistration&) = delete;

private:
    std::string m_progId;
    CAutomationRegistry::Factory m_previous;
};
