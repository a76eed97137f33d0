#include "platform/ProxyTypes.h"

#include "model/CProxySettings.h"

#include <curl/curl.h>

#include <algorithm>

namespace corvane {

namespace {

using Proxy = CFtpSessionOptions::Proxy;

// An HTTP proxy is only ever a CONNECT tunnel (the session sets that); SOCKS5 leaves the
// names to the proxy: it is there because we may not reach the server ourselves.
constexpr ProxyTypeRow kRows[] = {
    {"NONE", CProxySettings::typeNone, 0, Proxy::none, CURLPROXY_HTTP},
    {"HTTP", CProxySettings::typeHttp, 4, Proxy::http, CURLPROXY_HTTP},
    {"SOCKS4", CProxySettings::typeSocks4, 1, Proxy::socks4, CURLPROXY_SOCKS4},
    {"SOCKS4A", CProxySettings::typeSocks4A, 2, Proxy::socks4a, CURLPROXY_SOCKS4A},
    {"SOCKS5", CProxySettings::typeSocks5, 3, Proxy::socks5, CURLPROXY_SOCKS5_HOSTNAME},
};

template <class Pred> const ProxyTypeRow* Find(Pred pred) {
    const auto* it = std::find_if(std::begin(kRows), std::end(kRows), pred);
    return it == std::end(kRows) ? nullptr : it;
}

} // namespace

std::span<const ProxyTypeRow> ProxyTypeTable() {
    return kRows;
}

const ProxyTypeRow* ProxyTypeByStoredCode(std::int32_t storedCode) {
    return Find([&](const ProxyTypeRow& r) { return r.storedCode == storedCode; });
}

const ProxyTypeRow* ProxyTypeByComponentCode(std::int32_t componentCode) {
    return Find([&](const ProxyTypeRow& r) { return r.componentCode == componentCode; });
}

const ProxyTypeRow* ProxyTypeByKind(CFtpSessionOptions::Proxy kind) {
    return Find([&](const ProxyTypeRow& r) { return r.kind == kind; });
}

} // namespace corvane
