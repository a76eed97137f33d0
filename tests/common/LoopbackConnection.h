#pragma once
// An FTP connection to a test peer on this machine, as the operator would type it.
#include "model/CConnectionInfo.h"

#include <string>

namespace testpeer {

inline CConnectionInfo LoopbackConnection(int port, bool builtIn = false, const std::string& user = "alice",
                                          const std::string& password = "secret", bool passive = true) {
    CConnectionInfo c;
    c.m_strHost = "127.0.0.1";
    c.m_nPort = port;
    c.m_strUser = user;
    c.m_strPassword = password;
    c.m_bPassive = passive;
    c.m_bUseWinInet = builtIn;
    return c;
}

} // namespace testpeer
