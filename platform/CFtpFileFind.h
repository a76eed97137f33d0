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
    explicit CFtpFileFind(CFtpConnection* connection) : m_pConnection(connection) {}

    // Lists the current folder and keeps the entries whose names match `pattern`
    // ("*" and "?" wildcards). False when nothing matches or the listing failed
    // (the reason is then in GetLastErrorText()).
    bool FindFile(const std::string& pattern = "*");
    bool FindNextFile();

    // The entry FindNextFile moved to.
    bool IsDots() const;
    bool IsDirectory() const;
    std::string GetFileName() const;
    // The current folder, "/" unless it already ends with "/" or "\", then the name.
    std::string GetFilePath() const;
    std::int64_t GetLength() const;

    void Close();
    const std::string& GetLastErrorText() const { return m_strLastError; }

private:
    const CFtpFileInfo* Current() const;

    CFtpConnection* m_pConnection;
    std::vector<CFtpFileInfo> m_arrFound;
    std::string m_strRoot;
    std::size_t m_nNext = 0;
    bool m_bPositioned = false;
    std::string m_strLastError;
};
