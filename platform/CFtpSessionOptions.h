#pragma once
// What a CFtpSession connects to and how.
#include <cstdint>
#include <string>

struct CFtpSessionOptions {
    enum class Proxy {
        none,        // direct, even when the environment names a proxy
        environment, // ftp_proxy / all_proxy / no_proxy, as the system's own client does
        socks4,
        socks4a,
        socks5,
        http, // always a CONNECT tunnel: the proxy never sees the FTP password
    };

    std::string strHost;
    // 0 means the standard port 21.
    std::uint16_t nPort = 21;
    // Empty user: anonymous login.
    std::string strUser;
    std::string strPassword;
    // Passive: EPSV, then PASV when the server refuses it. Active: EPRT/PORT on the
    // control connection's local address.
    bool bPassive = true;

    Proxy proxy = Proxy::none;
    std::string strProxyHost;
    std::uint16_t nProxyPort = 0;
    std::string strProxyUser;
    std::string strProxyPassword;
};
