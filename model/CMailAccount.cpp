#include "model/CMailAccount.h"

#include "model/CArchive.h"
#include "model/SerializeList.h"

void CMailAccount::Serialize(CArchive& ar) {
    ar.Exchange(m_strServer);
    ar.Exchange(m_strUser);
    ar.Exchange(m_strPassword);
    ar.Exchange(m_nPort);
    ar.Exchange(m_strFrom);
    ar.Exchange(m_strSubject);
    // Reading empties the list first so the file's recipients replace the old ones.
    corvane::SerializeStrings(ar, m_arrRecipients);
}
