#include "model/CFolderProfile.h"

#include "model/CArchive.h"
#include "model/Guid.h"
#include "model/SerializeList.h"

#include <utility>

namespace {

// One member list for both the copy and the move: everything but the reserved list,
// which keeps the target's own entries.
template <class Other> void AssignAllButReserved(CFolderProfile& self, Other&& other) {
    self.m_strConnection = std::forward<Other>(other).m_strConnection;
    self.m_nConnection = std::forward<Other>(other).m_nConnection;
    self.m_strLocalFolder = std::forward<Other>(other).m_strLocalFolder;
    self.m_strFtpFolder = std::forward<Other>(other).m_strFtpFolder;
    self.m_strStateFile = std::forward<Other>(other).m_strStateFile;
    self.m_bUpload = std::forward<Other>(other).m_bUpload;
    self.m_bDownload = std::forward<Other>(other).m_bDownload;
    self.m_bEnabled = std::forward<Other>(other).m_bEnabled;
    self.m_bUseMasks = std::forward<Other>(other).m_bUseMasks;
    self.m_bDeleteObsolete = std::forward<Other>(other).m_bDeleteObsolete;
    self.m_bSubfolders = std::forward<Other>(other).m_bSubfolders;
    self.m_nConflict = std::forward<Other>(other).m_nConflict;
    self.m_arrTextValues1 = std::forward<Other>(other).m_arrTextValues1;
    self.m_arrTextValues2 = std::forward<Other>(other).m_arrTextValues2;
    self.m_arrSpareMasks = std::forward<Other>(other).m_arrSpareMasks;
    self.m_arrMasks = std::forward<Other>(other).m_arrMasks;
}

} // namespace

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
        AssignAllButReserved(*this, other);
    return *this;
}

CFolderProfile& CFolderProfile::operator=(CFolderProfile&& other) noexcept {
    if (this != &other)
        AssignAllButReserved(*this, std::move(other));
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
