#include "model/CConnectionInfo.h"

#include "model/CArchive.h"
#include "model/SerializeList.h"

#include <utility>

CConnectionInfo& CConnectionInfo::operator=(const CConnectionInfo& other) {
    if (this != &other)
        corvane::AssignAllButReserved(*this, other);
    return *this;
}

CConnectionInfo& CConnectionInfo::operator=(CConnectionInfo&& other) noexcept {
    if (this != &other)
        corvane::AssignAllButReserved(*this, std::move(other));
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
