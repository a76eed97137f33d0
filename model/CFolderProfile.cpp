#include "model/CFolderProfile.h"

#include "model/CArchive.h"
#include "model/Guid.h"
#include "model/SerializeList.h"

#include <utility>

CFolderProfile::CFolderProfile() : m_strStateFile(GenerateStateFileName()) {}

std::string CFolderProfile::GenerateStateFileName() {
    std::string guid = corvane::NewGuidString();
    std::string name = guid.substr(0, 7);
    for (char& c : name)
        if (c == '{')
            c = 'X';
    return name + ".dbx";
}

CFolderProfile& CFolderProfile::operator=(const CFolderProfile& other) {
    if (this != &other)
        corvane::AssignAllButReserved(*this, other);
    return *this;
}

CFolderProfile& CFolderProfile::operator=(CFolderProfile&& other) noexcept {
    if (this != &other)
        corvane::AssignAllButReserved(*this, std::move(other));
    return *this;
}

void CFolderProfile::Serialize(CArchive& ar) {
    ar.Exchange(m_nConnection);
    // The connection text is stored twice; reading into the same member lets the second copy win.
    ar.Exchange(m_strConnection);
    ar.Exchange(m_strConnection);
    ar.Exchange(m_strLocalFolder);
    ar.Exchange(m_strFtpFolder);
    ar.Exchange(m_strStateFile);
    ar.Exchange(m_bUpload);
    ar.Exchange(m_bDownload);
    ar.Exchange(m_bEnabled);
    ar.Exchange(m_bUseMasks);
    ar.Exchange(m_bDeleteObsolete);
    ar.Exchange(m_bSubfolders);
    ar.Exchange(m_nConflict);
    corvane::SerializeList(ar, m_arrSpareMasks);
    corvane::SerializeList(ar, m_arrMasks);
    // The second text-value list is stored before the first.
    corvane::SerializeList(ar, m_arrTextValues2);
    corvane::SerializeList(ar, m_arrTextValues1);
    corvane::SerializeReserved(ar, m_arrReserved);
}
