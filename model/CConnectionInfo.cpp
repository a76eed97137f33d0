#include "model/CConnectionInfo.h"

#include "model/CArchive.h"
#include "model/SerializeList.h"

#include <utility>

namespace {

// One member list for both the copy and the move: everything but the reserved list,
// which keeps the target's own entries.
template <class Other> void AssignAllButReserved(CConnectionInfo& self, Other&& other) {
    self.m_strHost = std::forward<Other>(other).m_strHost;
    self.m_nPort = std::forward<Other>(other).m_nPort;
    self.m_strUser = std::forward<Other>(other).m_strUser;
    self.m_strPassword = std::forward<Other>(other).m_strPassword;
    self.m_bUseProxy = std::forward<Other>(other).m_bUseProxy;
    self.m_bShowPassword = std::forward<Other>(other).m_bShowPassword;
    self.m_bTestPassed = std::forward<Other>(other).m_bTestPassed;
    self.m_bPassive = std::forward<Other>(other).m_bPassive;
    self.m_bUseWinInet = std::forward<Other>(other).m_bUseWinInet;
    self.m_bSpare = std::forward<Other>(other).m_bSpare;
}

} // namespace

CConnectionInfo& CConnectionInfo::operator=(const CConnectionInfo& other) {
    if (this != &other)
        AssignAllButReserved(*this, other);
    return *this;
}

CConnectionInfo& CConnectionInfo::operator=(CConnectionInfo&& other) noexcept {
    if (this != &other)
        AssignAllButReserved(*this, std::move(other));
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
