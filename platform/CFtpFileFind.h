#pragma once
// Walks a listing of the connection's current folder, with the system client's
// semantics: FindFile fetches a fresh listing and stands before the first entry;
// each FindNextFile moves to the next entry and returns whether more follow it
// (false on the last entry, which is still valid).
#include "platform/CFtpSession.h"

#include <string>
#include <vector>

class CFtpConnection;

class CFtpFileFind {
public:
    // What the last FindFile came to.
    enum class Status {
        found,
        // The listing worked and nothing in it matches: with "*", an empty folder.
        noMatch,
        // The listing failed: connection lost, no answer in time, data connection refused,
        // listing too large, too slow or unreadable, or the session is not open.
        failed,
    };

    explicit CFtpFileFind(CFtpConnection* connection) : m_pConnection(connection) {}

    // Lists the current folder and keeps the entries whose names match `pattern`
    // ("*" and "?" wildcards). False when nothing matches or the listing failed: GetStatus()
    // tells which, GetLastErrorText() says it in words.
    bool FindFile(const std::string& pattern = "*");
    bool FindNextFile();
    Status GetStatus() const { return m_status; }

    // The entry FindNextFile moved to.
    bool IsDots() const;
    // True for folders and for symbolic links, which are browsed as folders: a link that
    // does not lead to one fails when it is entered.
    bool IsDirectory() const;
    bool IsLink() const;
    std::string GetFileName() const;
    // The current folder, "/" unless it already ends with "/" or "\", then the name.
    std::string GetFilePath() const;

    void Close();
    const std::string& GetLastErrorText() const { return m_strLastError; }

private:
    const CFtpFileInfo* Current() const;

    CFtpConnection* m_pConnection;
    std::vector<CFtpFileInfo> m_arrFound;
    std::string m_strRoot;
    std::size_t m_nNext = 0;
    bool m_bPositioned = false;
    Status m_status = Status::noMatch;
    std::string m_strLastError;
};
