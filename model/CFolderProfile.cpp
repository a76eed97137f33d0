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
    if (this == &other)
        return *this;
    m_strConnection = other.m_strConnection;
    m_nConnection = other.m_nConnection;
    m_strLocalFolder = other.m_strLocalFolder;
    m_strFtpFolder = other.m_strFtpFolder;
    m_strStateFile = other.m_strStateFile;
    m_bUpload = other.m_bUpload;
    m_bDownload = other.m_bDownload;
    m_bEnabled = other.m_bEnabled;
    m_bUseMasks = other.m_bUseMasks;
    m_bDeleteObsolete = other.m_bDeleteObsolete;
    m_bSubfolders = other.m_bSubfolders;
    m_nConflict = other.m_nConflict;
    m_arrTextValues1 = other.m_arrTextValues1;
    m_arrTextValues2 = other.m_arrTextValues2;
    m_arrSpareMasks = other.m_arrSpareMasks;
    m_arrMasks = other.m_arrMasks;
    return *this;
}

CFolderProfile& CFolderProfile::operator=(CFolderProfile&& other) noexcept {
    if (this == &other)
        return *this;
    m_strConnection = std::move(other.m_strConnection);
    m_nConnection = other.m_nConnection;
    m_strLocalFolder = std::move(other.m_strLocalFolder);
    m_strFtpFolder = std::move(other.m_strFtpFolder);
    m_strStateFile = std::move(other.m_strStateFile);
    m_bUpload = other.m_bUpload;
    m_bDownload = other.m_bDownload;
    m_bEnabled = other.m_bEnabled;
    m_bUseMasks = other.m_bUseMasks;
    m_bDeleteObsolete = other.m_bDeleteObsolete;
    m_bSubfolders = other.m_bSubfolders;
    m_nConflict = other.m_nConflict;
    m_arrTextValues1 = std::move(other.m_arrTextValues1);
    m_arrTextValues2 = std::move(other.m_arrTextValues2);
    m_arrSpareMasks = std::move(other.m_arrSpareMasks);
    m_arrMasks = std::move(other.m_arrMasks);
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
