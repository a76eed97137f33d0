#include "model/CFileMask.h"

#include "model/CArchive.h"

void CFileMask::Serialize(CArchive& ar) {
    ar.Exchange(m_strMask);
    ar.Exchange(m_bUpload);
    ar.Exchange(m_bDownload);
}
