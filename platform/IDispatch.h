#pragma once
// An automation object reached by dispatch identifiers only, as a late-bound
// component is. Components throw COleDispatchException for their own failures.
#include "platform/CVariant.h"

#include <vector>

using DISPID = std::int32_t;

enum class InvokeKind { method, propertyGet, propertyPut };

class IDispatch {
public:
    virtual ~IDispatch() = default;
    // Unknown members throw COleException (a failure of the call itself).
    virtual CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) = 0;
};
