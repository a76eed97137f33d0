#include "model/CReportSettings.h"

#include "model/CArchive.h"

void CReportSettings::SerializeMail(CArchive& ar) {
    ar.Exchange(m_bMailEnabled);
    ar.Exchange(m_bMailSendEmpty);
    ar.Exchange(m_bMailErrors);
    ar.Exchange(m_bMailNewFiles);
    ar.Exchange(m_bMailActions);
    ar.Exchange(m_bMailConflicts);
}

void CReportSettings::SerializeLog(CArchive& ar) {
    ar.Exchange(m_bLogEnabled);
    ar.Exchange(m_bLogErrors);
    ar.Exchange(m_bLogNewFiles);
    ar.Exchange(m_bLogActions);
    ar.Exchange(m_bLogConflicts);
}
