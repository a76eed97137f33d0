#include "model/CConnectionInfo.h"

#include "model/CArchive.h"
#include "model/SerializeList.h"

#include <utility>

CConnectionInfo& CConnectionInfo::operator=(const CConnectionInfo& other) {
    if (this == &other)
        return *this;
    m_strHost = other.m_strHost;
    m_nPort = other.m_nPort;
    m_strUser = other.m_strUser;
    m_strPassword = other.m_strPassword;
    m_bUseProxy = other.m_bUseProxy;
    m_bShowPassword = other.m_bShowPassword;
    m_bTestPassed = other.m_bTestPassed;
    m_bPassive = other.m_bPassive;
    m_bUseWinInet = other.m_bUseWinInet;
    m_bSpare = other.m_bSpare;
    return *this;
}

CConnectionInfo& CConnectionInfo::operator=(CConnectionInfo&& other) noexcept {
    if (this == &other)
        return *this;
    m_strHost = std::move(other.m_strHost);
    m_nPort = other.m_nPort;
    m_strUser = std::move(other.m_strUser);
    m_strPassword = std::move(other.m_strPassword);
    m_bUseProxy = other.m_bUseProxy;
    m_bShowPassword = other.m_bShowPassword;
    m_bTestPassed = other.m_bTestPassed;
    m_bPassive = other.m_bPassive;
    m_bUseWinInet = other.m_bUseWinInet;
    m_bSpare = other.m_bSpare;
    return *this;
}

void CConnectionInfo::Serialize(CArchive& ar) {
    // The file's flag order is not the members' order.
    ar.Exchange(m_strHost);
    ar.Exchange(m_nPort);
    ar.Exchange(m_strUser);
    ar.Exchange(m_strPassword);
    ar.Exchange(m_bUseProxy);
    ar.Exchange(m_bPassive);
    ar.Exchange(m_bShowPassword);
    ar.Exchange(m_bTestPassed);
    ar.Exchange(m_bUseWinInet);
    ar.Exchange(m_bSpare);
    corvane::SerializeReserved(ar, m_arrReserved);
}
