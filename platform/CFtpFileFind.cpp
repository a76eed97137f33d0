#include "platform/CFtpFileFind.h"

#include "platform/CFtpConnection.h"
#include "platform/CInternetException.h"
#include "platform/FtpListParser.h"

bool CFtpFileFind::FindFile(const std::string& pattern) {
    Close();
    m_status = Status::failed;
    if (!m_pConnection || !m_pConnection->m_pSession || !m_pConnection->m_pSession->IsOpen()) {
        m_strLastError = "The FTP session is not open.";
        return false;
    }
    CFtpSession& session = *m_pConnection->m_pSession;
    std::vector<CFtpFileInfo> all;
    try {
        all = session.List();
    } catch (const CInternetException& e) {
        m_strLastError = e.GetErrorMessage();
        return false;
    }
    const std::string mask = pattern.empty() ? std::string("*") : pattern;
    for (CFtpFileInfo& info : all)
        if (corvane::WildcardMatch(mask, info.strName))
            m_arrFound.push_back(std::move(info));
    m_strRoot = session.GetCurrentDirectory();
    if (m_arrFound.empty()) {
        m_status = Status::noMatch;
        m_strLastError = "No file matches \"" + mask + "\".";
        return false;
    }
    m_status = Status::found;
    return true;
}

bool CFtpFileFind::FindNextFile() {
    if (m_bPositioned)
        ++m_nNext;
    m_bPositioned = m_nNext < m_arrFound.size();
    return m_nNext + 1 < m_arrFound.size();
}

const CFtpFileInfo* CFtpFileFind::Current() const {
    return m_bPositioned && m_nNext < m_arrFound.size() ? &m_arrFound[m_nNext] : nullptr;
}

bool CFtpFileFind::IsDots() const {
    const CFtpFileInfo* c = Current();
    return c && (c->strName == "." || c->strName == "..");
}

bool CFtpFileFind::IsDirectory() const {
    const CFtpFileInfo* c = Current();
    return c && (c->IsDirectory() || c->IsLink());
}

bool CFtpFileFind::IsLink() const {
    const CFtpFileInfo* c = Current();
    return c && c->IsLink();
}

std::string CFtpFileFind::GetFileName() const {
    const CFtpFileInfo* c = Current();
    return c ? c->strName : std::string();
}

std::string CFtpFileFind::GetFilePath() const {
    const CFtpFileInfo* c = Current();
    if (!c)
        return {};
    std::string path = m_strRoot;
    if (path.empty() || (path.back() != '/' && path.back() != '\\'))
        path += '/';
    return path + c->strName;
}

void CFtpFileFind::Close() {
    m_arrFound.clear();
    m_strRoot.clear();
    m_nNext = 0;
    m_bPositioned = false;
}
