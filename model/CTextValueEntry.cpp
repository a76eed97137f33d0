#include "model/CTextValueEntry.h"

#include "model/CArchive.h"

void CTextValueEntry::Serialize(CArchive& ar) {
    ar.Exchange(m_strText);
    ar.Exchange(m_dwValue1);
    ar.Exchange(m_dwValue2);
}
