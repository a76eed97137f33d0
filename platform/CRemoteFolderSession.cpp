#include "platform/CRemoteFolderSession.h"

#include "model/CodePage.h"
#include "model/VisibleText.h"
#include "platform/CCoFtp.h"
#include "platform/CFtpFileFind.h"
#include "platform/CInternetException.h"
#include "platform/COleException.h"
#include "platform/CoFtpDispIds.h"
#include "platform/ErrorText.h"
#include "platform/ProxyTypes.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <variant>

namespace {

// Lines of a text the component gives, one a line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t eol = std::min(text.find('\n', pos), text.size());
        out.push_back(text.substr(pos, eol - pos));
        pos = eol + 1;
    }
    return out;
}

std::optional<std::string> UnsendableText(const char* field, const std::string& value) {
    if (!corvane::HasControlCharacter(value))
        return std::nullopt;
    return std::string("The ") + field +
           " contains a control character (such as a line break), which is never sent to a server. "
           "Correct the " +
           field + ".";
}

CRemoteItem::Kind KindOf(std::int32_t componentKind) {
    switch (componentKind) {
    case coftp::kindFolder:
        return CRemoteItem::Kind::folder;
    case coftp::kindLink:
        return CRemoteItem::Kind::link;
    default:
        return CRemoteItem::Kind::file;
    }
}

std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

} // namespace

CRemoteFolderSession::~CRemoteFolderSession() {
    if (m_bOpen)
        Close();
}

CRemoteFolderSession::Result CRemoteFolderSession::Failure(std::string text, Outcome outcome) {
    if (text.empty())
        text = "Unknown failure.";
    // Our own component's texts are safe UTF-8 already (which this leaves as it is); another
    // component's may be in the code page and carry anything.
    return {outcome, corvane::CutToChars(corvane::VisibleText(corvane::RemoteNameToUtf8(text)))};
}

std::optional<CRemoteFolderSession::Result>
CRemoteFolderSession::RefuseUnsendable(const CConnectionInfo& connection, const CProxySettings& proxy) {
    std::vector<std::pair<const char*, const std::string*>> fields{{"host name", &connection.m_strHost},
                                                                   {"user name", &connection.m_strUser},
                                                                   {"password", &connection.m_strPassword}};
    if (connection.m_bUseProxy && !connection.m_bUseWinInet)
        fields.insert(fields.end(), {{"proxy host name", &proxy.m_strHost},
                                     {"proxy user name", &proxy.m_strUser},
                                     {"proxy password", &proxy.m_strPassword}});
    for (const auto& [field, value] : fields)
        if (auto text = UnsendableText(field, *value))
            return Failure(*text);
    return std::nullopt;
}

CRemoteFolderSession::Result CRemoteFolderSession::CaughtFailure() {
    try {
        throw;
    } catch (const COleDispatchException& e) {
        return Failure(e.m_strDescription);
    } catch (const CInternetException& e) {
        return Failure(e.GetErrorMessage());
    } catch (const std::exception& e) {
        return Failure(e.what());
    } catch (...) {
        return Failure({});
    }
}

CRemoteFolderSession::Result CRemoteFolderSession::Open(const CConnectionInfo& connection,
                                                        const CProxySettings& proxy, ProxyRule rule) {
    m_arrFailedTranscript.clear();
    if (auto refused = RefuseUnsendable(connection, proxy))
        return *refused;
    try {
        if (connection.m_bUseWinInet) {
            m_pConnection = m_internet.GetFtpConnection(
                connection.m_strHost, connection.m_strUser, connection.m_strPassword,
                static_cast<std::uint16_t>(connection.m_nPort), connection.m_bPassive);
            m_pConnection->SetCurrentDirectory("/");
        } else {
            if (m_component.IsEmpty() && !m_component.CreateDispatch())
                return Failure(kComponentMissingText, Outcome::componentMissing);
            OpenComponent(connection, proxy, rule);
        }
    } catch (...) {
        return CaughtFailure();
    }
    m_bOpen = true;
    return {};
}

void CRemoteFolderSession::OpenComponent(const CConnectionInfo& connection, const CProxySettings& proxy,
                                         ProxyRule rule) {
    CCoFtpDriver& ftp = m_component;
    if (connection.m_bUseProxy) {
        if (const corvane::ProxyTypeRow* row = corvane::ProxyTypeByStoredCode(proxy.m_nType))
            ftp.SetProxyType(row->componentCode);
        ftp.SetProxyHost(proxy.m_strHost);
        ftp.SetProxyPort(proxy.m_nPort);
        ftp.SetProxyUser(proxy.m_strUser);
        ftp.SetProxyPassword(proxy.m_strPassword);
    } else if (rule == ProxyRule::connectionTest) {
        ftp.SetProxyType(corvane::ProxyTypeByStoredCode(CProxySettings::typeNone)->componentCode);
    }
    ftp.SetHost(connection.m_strHost);
    ftp.SetUser(connection.m_strUser);
    ftp.SetPassword(connection.m_strPassword);
    ftp.SetPort(connection.m_nPort);
    ftp.SetPassive(connection.m_bPassive);
    ftp.SetFlags(coftp::kCallerFlags);
    ftp.SetTimeout(coftp::kCallerTimeoutSeconds);
    ftp.Connect();
    ftp.Login();
}

CRemoteFolderSession::Result CRemoteFolderSession::Test(const CConnectionInfo& connection,
                                                        const CProxySettings& proxy,
                                                        const std::string& folder) {
    std::vector<CRemoteItem> items;
    return Test(connection, proxy, items, folder);
}

CRemoteFolderSession::Result CRemoteFolderSession::Test(const CConnectionInfo& connection,
                                                        const CProxySettings& proxy,
                                                        std::vector<CRemoteItem>& items,
                                                        const std::string& folder) {
    items.clear();
    Result result = Open(connection, proxy, ProxyRule::connectionTest);
    if (!result)
        return result;
    result = List(folder, items);
    if (!result) {
        // A test that failed leaves nothing open, so the next one starts afresh; its
        // transcript stays for Details.
        std::vector<std::string> transcript = GetTranscript();
        Close();
        m_arrFailedTranscript = std::move(transcript);
    }
    return result;
}

CRemoteFolderSession::Result CRemoteFolderSession::List(const std::string& path,
                                                        std::vector<CRemoteItem>& items) {
    items.clear();
    if (!m_bOpen)
        return Failure("The FTP session is not open.");
    if (auto text = UnsendableText("folder", path))
        return Failure(*text);
    if (m_pConnection)
        return ListBuiltIn(path, items);
    Result listed;
    try {
        listed.strWarning = ListComponent(path, items);
    } catch (...) {
        items.clear();
        return CaughtFailure();
    }
    return listed;
}

std::string CRemoteFolderSession::ListComponent(const std::string& path, std::vector<CRemoteItem>& items) {
    if (!path.empty())
        m_component.ChangeDirectory(path);
    const std::string base = WithoutTrailingSeparators(path);
    m_component.List("*");
    // The index is 16-bit: entries past 32,767 cannot be addressed.
    const std::size_t reachable = static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()) + 1;
    std::size_t count = 0;
    for (CCoFtpDriver::Entry& entry : m_component.GetListing(reachable, count)) {
        CRemoteItem item;
        item.strName = std::move(entry.strName);
        item.strPath = base + "/" + item.strName;
        item.kind = KindOf(entry.nKind);
        items.push_back(std::move(item));
    }
    // Our own component can tell which lines of the listing it could not read.
    std::string warning;
    if (const auto* own = dynamic_cast<const CCoFtp*>(m_component.GetDispatch().get());
        own && own->GetSession())
        warning = own->GetSession()->GetListingNote();
    if (count > reachable)
        warning += std::string(warning.empty() ? "" : " ") + "The folder has " + std::to_string(count) +
                   " entries; only the first " + std::to_string(reachable) + " are shown.";
    return warning;
}

CRemoteFolderSession::Result CRemoteFolderSession::ListBuiltIn(const std::string& path,
                                                               std::vector<CRemoteItem>& items) {
    if (!path.empty() && !m_pConnection->SetCurrentDirectory(path))
        return Failure(m_pConnection->GetLastErrorText());
    CFtpFileFind finder(m_pConnection.get());
    bool more = finder.FindFile("*");
    // Nothing matching "*" is an empty folder; anything else that ends the listing failed.
    if (!more && finder.GetStatus() != CFtpFileFind::Status::noMatch)
        return Failure(finder.GetLastErrorText());
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        const CRemoteItem::Kind kind = finder.IsLink()        ? CRemoteItem::Kind::link
                                       : finder.IsDirectory() ? CRemoteItem::Kind::folder
                                                              : CRemoteItem::Kind::file;
        items.push_back({finder.GetFileName(), finder.GetFilePath(), kind});
    }
    finder.Close();
    Result listed;
    listed.strWarning = m_pConnection->GetListingNote();
    return listed;
}

CRemoteFolderSession::Result CRemoteFolderSession::Close() {
    if (m_pConnection) {
        m_pConnection->Close();
        m_pConnection.reset();
    }
    if (!m_component.IsEmpty()) {
        if (m_bOpen) {
            try {
                m_component.Disconnect();
            } catch (...) {
                return CaughtFailure();
            }
        }
        m_component.ReleaseDispatch();
    }
    m_bOpen = false;
    return {};
}

std::vector<std::string> CRemoteFolderSession::GetTranscript() {
    if (m_pConnection)
        return m_pConnection->GetTranscript();
    if (!m_component.IsEmpty())
        return SplitLines(m_component.GetTranscript());
    if (!m_arrFailedTranscript.empty())
        return m_arrFailedTranscript;
    return m_internet.GetFailedTranscript();
}

std::vector<std::string> CRemoteFolderSession::GetWarnings() {
    if (m_pConnection)
        return m_pConnection->GetWarnings();
    if (!m_component.IsEmpty() && m_bOpen)
        return SplitLines(m_component.GetWarnings());
    return {};
}
