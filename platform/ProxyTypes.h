#pragma once
// The proxy types, once: the name the proxy dialog lists (in its order), the code the
// project file stores, the FTP component's own ProxyType code and the session's kind.
// Every place that turns one into another reads this table.
#include "platform/CFtpSessionOptions.h"

#include <cstdint>
#include <optional>
#include <span>

namespace corvane {

struct ProxyTypeRow {
    const char* name;               // as the proxy dialog lists it
    std::int32_t storedCode;        // CProxySettings::Type, as the project file keeps it
    std::int32_t componentCode;     // the FTP component's ProxyType
    CFtpSessionOptions::Proxy kind; // what the session connects through
    long curlType;                  // libcurl's CURLPROXY_* for that kind
};

// In the order the proxy dialog lists them.
std::span<const ProxyTypeRow> ProxyTypeTable();

// The row of a stored code; none for a code outside the table.
const ProxyTypeRow* ProxyTypeByStoredCode(std::int32_t storedCode);
// The row of a component code; none for a code outside the table.
const ProxyTypeRow* ProxyTypeByComponentCode(std::int32_t componentCode);

// The row of a session kind; none for `environment`, which names no type of its own.
const ProxyTypeRow* ProxyTypeByKind(CFtpSessionOptions::Proxy kind);

} // namespace corvane
