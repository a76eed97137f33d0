#pragma once
#include "model/CFileMask.h"
#include "model/CTextValueEntry.h"
#include "model/RecordField.h"

#include <cstdint>
#include <string>
#include <vector>

class CArchive;

// One folder-synchronisation profile: a local folder paired with a folder on one connection.
class CFolderProfile {
public:
    enum Conflict : std::int32_t { conflictUpload = 0, conflictDownload = 1, conflictIgnore = 2 };

    std::string m_strConnection = "127.0.0.1";
    std::int32_t m_nConnection = -1;
    std::string m_strLocalFolder = "C:\\";
    std::string m_strFtpFolder = "/";
    std::string m_strStateFile;
    bool m_bUpload = false;
    bool m_bDownload = false;
    bool m_bEnabled = true;
    bool m_bUseMasks = false;
    bool m_bDeleteObsolete = false;
    bool m_bSubfolders = true;
    std::int32_t m_nConflict = conflictIgnore;
    std::vector<CTextValueEntry> m_arrTextValues1;
    std::vector<CTextValueEntry> m_arrTextValues2;
    std::vector<CFileMask> m_arrSpareMasks;
    std::vector<CFileMask> m_arrMasks;
    std::vector<std::uint32_t> m_arrReserved = corvane::NewReservedList();

    // Generates a fresh state file name.
    CFolderProfile();
    // A record about to be overwritten by reading: skips generating the name.
    struct ForLoading {};
    explicit CFolderProfile(ForLoading) : m_arrReserved() {}

    CFolderProfile(const CFolderProfile&) = default;
    CFolderProfile(CFolderProfile&&) noexcept = default;
    // Copies every member but the reserved list, which keeps the target's own entries.
    CFolderProfile& operator=(const CFolderProfile& other);
    CFolderProfile& operator=(CFolderProfile&& other) noexcept;

    // Every member once, by its JSON name.
    static constexpr auto Fields() {
        using corvane::FieldKind;
        using F = CFolderProfile;
        return std::tuple{
            corvane::RecordField{"connectionIndex", &F::m_nConnection},
            corvane::RecordField{"connection", &F::m_strConnection, FieldKind::serverText},
            corvane::RecordField{"localFolder", &F::m_strLocalFolder, FieldKind::serverText},
            corvane::RecordField{"ftpFolder", &F::m_strFtpFolder, FieldKind::remotePath},
            corvane::RecordField{"stateFile", &F::m_strStateFile},
            corvane::RecordField{"upload", &F::m_bUpload},
            corvane::RecordField{"download", &F::m_bDownload},
            corvane::RecordField{"enabled", &F::m_bEnabled},
            corvane::RecordField{"useMasks", &F::m_bUseMasks},
            corvane::RecordField{"deleteObsolete", &F::m_bDeleteObsolete},
            corvane::RecordField{"subfolders", &F::m_bSubfolders},
            corvane::RecordField{"conflict", &F::m_nConflict},
            corvane::RecordField{"spareMasks", &F::m_arrSpareMasks},
            corvane::RecordField{"masks", &F::m_arrMasks},
            corvane::RecordField{"textValues1", &F::m_arrTextValues1},
            corvane::RecordField{"textValues2", &F::m_arrTextValues2},
            corvane::RecordField{"reserved", &F::m_arrReserved, FieldKind::reserved},
        };
    }

    void Serialize(CArchive& ar);
    // Connection index, five empty strings, six flags, conflict and five empty counts.
    static constexpr std::size_t kMinFileSize = 4 + 5 + 6 + 4 + 5 * 4;

    // "X", six upper-case hexadecimal digits of a new random identifier, ".dbx".
    static std::string GenerateStateFileName();
};
