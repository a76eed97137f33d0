#include "platform/COleDispatchDriver.h"

#include "platform/CAutomationRegistry.h"
#include "platform/COleException.h"

bool COleDispatchDriver::CreateDispatch(const std::string& progId, std::string* error) {
    try {
        m_lpDispatch = CAutomationRegistry::Create(progId);
        return true;
    } catch (const COleException& e) {
        if (error)
            *error = e.what();
        m_lpDispatch.reset();
        return false;
    }
}

CVariant COleDispatchDriver::InvokeHelper(DISPID id, InvokeKind kind, std::vector<CVariant> args) {
    if (!m_lpDispatch)
        throw COleException("No component is attached to the dispatch driver.");
    return m_lpDispatch->Invoke(id, kind, args);
}
