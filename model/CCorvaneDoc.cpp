#include "model/CCorvaneDoc.h"

#include "model/CArchive.h"
#include "model/CSafeFileWriter.h"
#include "model/CappedFile.h"
#include "model/IProfileStore.h"
#include "model/SerializeList.h"

#include <climits>
#include <cstdio>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

void CCorvaneDoc::Serialize(CArchive& ar) {
    corvane::SerializeList(ar, m_arrProfiles);
    corvane::SerializeList(ar, m_arrConnections);
    m_proxy.Serialize(ar);
    m_mail.Serialize(ar);
    m_reports.SerializeMail(ar);
    m_reports.SerializeLog(ar);
    ar.Exchange(m_nInterval);
    ar.Exchange(m_bIntervalConfirmed);
    corvane::SerializeReserved(ar, m_arrReserved);
}

void CCorvaneDoc::DeleteContents() {
    m_arrProfiles.clear();
    m_arrProfiles.shrink_to_fit();
    m_arrConnections.clear();
    m_arrConnections.shrink_to_fit();
    m_arrReserved.clear();
}

bool CCorvaneDoc::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    m_diskStamp.reset();
    m_strTitle = kUntitled;
    m_bModified = false;

    m_proxy.Reset();
    m_nInterval = 10;
    m_bIntervalConfirmed = true;
    m_arrReserved.resize(corvane::kReservedCount, 0);

    // The service finds its configuration directory here; a failure is not reported.
    char cwd[PATH_MAX];
    if (m_pStore) {
        const char* dir = ::getcwd(cwd, sizeof cwd);
        m_pStore->WriteProfileString("Project", "CfgPath", dir ? dir : "");
    }
    return true;
}

CCorvaneDoc::OpenResult CCorvaneDoc::OnOpenDocument(const std::string& path, std::string& error) {
    std::string bytes;
    std::string reason;
    struct stat st {};
    error.clear();
    if (!corvane::ReadCappedFile(path, corvane::kMaxProjectBytes, bytes, reason, &st)) {
        error = "Cannot open the project \"" + path + "\": " + reason + ".";
        return OpenResult::cannotOpen;
    }
    SetModifiedFlag(true);
    m_trailingBytes = 0;
    try {
        m_trailingBytes = bytes.size() - LoadFromMemory(*this, bytes.data(), bytes.size());
    } catch (const CArchiveException& e) {
        error = "Unexpected file format: the project \"" + path + "\" could not be read (" + e.what() + ").";
    } catch (const std::bad_alloc&) {
        error = "There is not enough memory to read the project \"" + path + "\".";
    }
    if (!error.empty()) {
        // Never leave a half-read project behind.
        DeleteContents();
        OnNewDocument();
        return OpenResult::badFormat;
    }
    SetModifiedFlag(false);
    SetPathName(path);
    m_diskStamp = CFileStamp::From(st);
    return OpenResult::ok;
}

bool CCorvaneDoc::OnSaveDocument(const std::string& path, std::string& error) {
    error = CSafeFileWriter::Write(path, [this](std::FILE* f) {
        CArchive ar(f);
        Serialize(ar);
        ar.Flush();
    });
    if (!error.empty()) {
        error = "Cannot save the project \"" + path + "\": " + error + ".";
        return false;
    }
    SetModifiedFlag(false);
    SetPathName(path);
    m_diskStamp = CFileStamp::Of(path);
    return true;
}

std::optional<CFileStamp> CCorvaneDoc::ChangeOnDisk() const {
    if (m_strPathName.empty() || !m_diskStamp)
        return std::nullopt;
    std::optional<CFileStamp> now = CFileStamp::Of(m_strPathName);
    return now && *now != *m_diskStamp ? now : std::nullopt;
}

std::size_t CCorvaneDoc::LoadFromMemory(CCorvaneDoc& doc, const void* data, std::size_t size) {
    doc.DeleteContents();
    // An empty file is not read at all: the lists stay empty, everything else keeps its value.
    if (size == 0)
        return 0;
    CArchive ar(data, size);
    doc.Serialize(ar);
    return static_cast<std::size_t>(ar.GetPosition());
}

std::string CCorvaneDoc::SaveToMemory() {
    std::string bytes;
    CArchive ar(bytes);
    Serialize(ar);
    return bytes;
}

void CCorvaneDoc::SetPathName(const std::string& path) {
    m_strPathName = path;
    const auto slash = path.find_last_of('/');
    m_strTitle = slash == std::string::npos ? path : path.substr(slash + 1);
}
