#include "platform/CRemoteFolderSession.h"

#include "model/CodePage.h"
#include "platform/CCoFtp.h"
#include "platform/CFtpFileFind.h"
#include "platform/CInternetException.h"
#include "platform/COleException.h"
#include "platform/CoFtpDispIds.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <variant>

namespace {

// The port's 16 bits, read as signed, as the component's 16-bit members take it.
std::int16_t Low16(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::optional<std::int32_t> ComponentProxyType(std::int32_t recordType) {
    switch (recordType) {
    case CProxySettings::typeNone:
        return coftp::proxyNone;
    case CProxySettings::typeSocks4:
        return coftp::proxySocks4;
    case CProxySettings::typeSocks4A:
        return coftp::proxySocks4A;
    case CProxySettings::typeSocks5:
        return coftp::proxySocks5;
    case CProxySettings::typeHttp:
        return coftp::proxyHttp;
    default:
        return std::nullopt;
    }
}

template <class T> T As(const CVariant& value) {
    if (const T* v = std::get_if<T>(&value))
        return *v;
    throw COleException("Type mismatch.");
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
    // Characters, not bytes: a cut inside a UTF-8 sequence would make the whole text read
    // as the code page.
    const bool utf8 = corvane::IsValidUtf8(text);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((!utf8 || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) && ++chars > kMaxErrorChars) {
            text.resize(i);
            break;
        }
    return {outcome, std::move(text)};
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
    try {
        if (connection.m_bUseWinInet) {
            m_pConnection = m_internet.GetFtpConnection(
                connection.m_strHost, connection.m_strUser, connection.m_strPassword,
                static_cast<std::uint16_t>(connection.m_nPort), connection.m_bPassive);
            m_pConnection->SetCurrentDirectory("/");
        } else {
            if (m_component.IsEmpty() && !m_component.CreateDispatch(coftp::kProgId))
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
    COleDispatchDriver& ftp = m_component;
    if (connection.m_bUseProxy) {
        if (const auto type = ComponentProxyType(proxy.m_nType))
            ftp.SetProperty(coftp::dispidProxyType, *type);
        ftp.SetProperty(coftp::dispidProxyHost, proxy.m_strHost);
        ftp.SetProperty(coftp::dispidProxyPort, Low16(proxy.m_nPort));
        ftp.SetProperty(coftp::dispidProxyUser, proxy.m_strUser);
        ftp.SetProperty(coftp::dispidProxyPassword, proxy.m_strPassword);
    } else if (rule == ProxyRule::connectionTest) {
        ftp.SetProperty(coftp::dispidProxyType, std::int32_t{coftp::proxyNone});
    }
    ftp.SetProperty(coftp::dispidHost, connection.m_strHost);
    ftp.SetProperty(coftp::dispidUser, connection.m_strUser);
    ftp.SetProperty(coftp::dispidPassword, connection.m_strPassword);
    ftp.SetProperty(coftp::dispidPort, Low16(connection.m_nPort));
    ftp.SetProperty(coftp::dispidPassive, std::int32_t{connection.m_bPassive ? 1 : 0});
    ftp.SetProperty(coftp::dispidFlags, std::int32_t{0});
    ftp.SetProperty(coftp::dispidTimeout, std::int16_t{20});
    ftp.InvokeHelper(coftp::dispidConnect, InvokeKind::method);
    ftp.InvokeHelper(coftp::dispidLogin, InvokeKind::method);
}

CRemoteFolderSession::Result CRemoteFolderSession::List(const std::string& path,
                                                        std::vector<CRemoteItem>& items) {
    items.clear();
    if (!m_bOpen)
        return Failure("The FTP session is not open.");
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
    m_component.InvokeHelper(coftp::dispidChangeDirectory, InvokeKind::method, {path});
    const std::string base = WithoutTrailingSeparators(path);
    m_component.InvokeHelper(coftp::dispidList, InvokeKind::method, {std::string("*")});
    COleDispatchDriver listing(As<std::shared_ptr<IDispatch>>(m_component.GetProperty(coftp::dispidListing)));
    const std::int32_t count = As<std::int32_t>(listing.GetProperty(coftp::dispidCount));
    // The index is 16-bit: entries past 32,767 cannot be addressed.
    const std::int32_t reachable =
        std::min<std::int32_t>(count, std::numeric_limits<std::int16_t>::max() + 1);
    for (std::int32_t i = 0; i < reachable; ++i) {
        COleDispatchDriver entry(As<std::shared_ptr<IDispatch>>(
            listing.InvokeHelper(coftp::dispidItem, InvokeKind::method, {static_cast<std::int16_t>(i)})));
        CRemoteItem item;
        item.strName = As<std::string>(entry.GetProperty(coftp::dispidName));
        item.strPath = base + "/" + item.strName;
        item.kind = KindOf(As<std::int32_t>(entry.GetProperty(coftp::dispidKind)));
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
    if (!m_pConnection->SetCurrentDirectory(path))
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
    if (const CFtpSession* session = m_pConnection->GetSession())
        listed.strWarning = session->GetListingNote();
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
                m_component.InvokeHelper(coftp::dispidDisconnect, InvokeKind::method);
            } catch (...) {
                return CaughtFailure();
            }
        }
        m_component.ReleaseDispatch();
    }
    m_bOpen = false;
    return {};
}
