#pragma once
// Holds one component instance and calls it by dispatch identifier, like the
// framework's dispatch driver does for a late-bound component.
#include "platform/IDispatch.h"

#include <memory>
#include <string>
#include <vector>

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    explicit COleDispatchDriver(std::shared_ptr<IDispatch> object) : m_lpDispatch(std::move(object)) {}

    // False when the identifier is unknown or creation fails; `error` then receives the reason.
    bool CreateDispatch(const std::string& progId, std::string* error = nullptr);
    void ReleaseDispatch() { m_lpDispatch.reset(); }
    bool IsEmpty() const { return !m_lpDispatch; }
    const std::shared_ptr<IDispatch>& GetDispatch() const { return m_lpDispatch; }

    // Throws COleException when empty or the member is unknown, COleDispatchException
    // when the component reports a failure.
    CVariant InvokeHelper(DISPID id, InvokeKind kind, std::vector<CVariant> args = {});
    void SetProperty(DISPID id, CVariant value) {
        InvokeHelper(id, InvokeKind::propertyPut, {std::move(value)});
    }
    CVariant GetProperty(DISPID id) { return InvokeHelper(id, InvokeKind::propertyGet); }

private:
    std::shared_ptr<IDispatch> m_lpDispatch;
};
