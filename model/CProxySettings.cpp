#include "model/CProxySettings.h"

#include "model/CArchive.h"

void CProxySettings::Serialize(CArchive& ar) {
    ar.Exchange(m_strHost);
    ar.Exchange(m_strUser);
    ar.Exchange(m_strPassword);
    ar.Exchange(m_nPort);
    ar.Exchange(m_nType);
    // The flag comes last in the file although it precedes the type in the record.
    ar.Exchange(m_bShowPassword);
}
