#pragma once
// The one configuration project being edited: its contents, the project file, and the
// new/open/save life of a single-document program (the window side lives in app/).
#include "model/CConnectionInfo.h"
#include "model/CFileStamp.h"
#include "model/CFolderProfile.h"
#include "model/CMailAccount.h"
#include "model/CProxySettings.h"
#include "model/CReportSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CArchive;
class IProfileStore;

class CCorvaneDoc {
public:
    // The framework's title of an unnamed project.
    static constexpr const char* kUntitled = "Untitled";

    std::vector<CFolderProfile> m_arrProfiles;
    std::vector<CConnectionInfo> m_arrConnections;
    CProxySettings m_proxy;
    CMailAccount m_mail;
    CReportSettings m_reports;
    std::int32_t m_nInterval = 10;
    bool m_bIntervalConfirmed = true;
    std::vector<std::uint32_t> m_arrReserved;

    // The store receives "CfgPath" at every new project; it may be null (no store).
    explicit CCorvaneDoc(IProfileStore* store = nullptr) : m_pStore(store) {}

    void SetProfileStore(IProfileStore* store) { m_pStore = store; }
    // The per-user settings store the project was opened with (may be null).
    IProfileStore* GetProfileStore() const { return m_pStore; }

    // Reads or writes the whole project in the file layout.
    void Serialize(CArchive& ar);
    // Empties the profile, connection and reserved lists; nothing else.
    void DeleteContents();
    // A new project: keeps the mail account and report flags, resets the rest,
    // publishes the working directory as "CfgPath".
    bool OnNewDocument();

    enum class OpenResult {
        ok,
        // The file could not be opened: the project is as it was.
        cannotOpen,
        // Reading failed part-way: the project has been reset to a new one.
        badFormat,
    };
    // The one way a project file is read, by the window and by corvane-dix alike: at most
    // kMaxProjectBytes of a regular file. On failure `error` receives one line naming the
    // file and the reason (with the byte offset where the format stops making sense).
    OpenResult OnOpenDocument(const std::string& path, std::string& error);
    // Bytes after the end of the project in the file last opened: the program ignores them,
    // yet a command that checks or rewrites the file must not pass over them in silence.
    std::uint64_t GetTrailingBytes() const { return m_trailingBytes; }
    // Replaces the file safely; on failure the project stays modified with its old path.
    bool OnSaveDocument(const std::string& path, std::string& error);

    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    bool IsModified() const { return m_bModified; }

    const std::string& GetPathName() const { return m_strPathName; }
    // The project's file as it is now, when another program has replaced or written it
    // since this project was opened from it or saved to it; nothing otherwise. A file
    // that is gone has not changed: writing it again loses nobody's work.
    std::optional<CFileStamp> ChangeOnDisk() const;
    bool ChangedOnDisk() const { return ChangeOnDisk().has_value(); }
    // The file name of the project, or "Untitled".
    const std::string& GetTitle() const { return m_strTitle; }

    // Reads one project from memory without touching any document state beyond the
    // contents (used by checks and fuzzing); the bytes it took. Throws CArchiveException.
    static std::size_t LoadFromMemory(CCorvaneDoc& doc, const void* data, std::size_t size);
    // The bytes this project's file would hold.
    std::string SaveToMemory();

private:
    void SetPathName(const std::string& path);

    IProfileStore* m_pStore = nullptr;
    bool m_bModified = false;
    std::string m_strPathName;
    // The file as this project last read or wrote it.
    std::optional<CFileStamp> m_diskStamp;
    std::string m_strTitle = kUntitled;
    std::uint64_t m_trailingBytes = 0;
};
