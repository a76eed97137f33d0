#include "platform/CFtpProbe.h"

#include "platform/CFtpFileFind.h"
#include "platform/CInternetException.h"
#include "platform/COleException.h"
#include "platform/CoFtpDispIds.h"

#include <algorithm>

namespace {

std::int16_t Low16(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

} // namespace

CFtpProbe::CFtpProbe(CInternetSession* session) : m_pSession(session ? session : &m_ownSession) {}

CFtpProbe::~CFtpProbe() {
    try {
        Close();
    } catch (...) {
        // Closing at the end of the object's life: nothing left to report to.
    }
}

std::optional<std::int32_t> CFtpProbe::ComponentProxyType(std::int32_t recordType) {
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

void CFtpProbe::ApplyProxy(COleDispatchDriver& ftp, bool useProxy, const CProxySettings& proxy,
                           ProxyRule rule) {
    if (!useProxy) {
        if (rule == ProxyRule::connectionTest)
            ftp.SetProperty(coftp::dispidProxyType, std::int32_t{coftp::proxyNone});
        return;
    }
    if (const auto type = ComponentProxyType(proxy.m_nType))
        ftp.SetProperty(coftp::dispidProxyType, *type);
    ftp.SetProperty(coftp::dispidProxyHost, proxy.m_strHost);
    ftp.SetProperty(coftp::dispidProxyPort, Low16(proxy.m_nPort));
    ftp.SetProperty(coftp::dispidProxyUser, proxy.m_strUser);
    ftp.SetProperty(coftp::dispidProxyPassword, proxy.m_strPassword);
}

void CFtpProbe::SetSessionProperties(COleDispatchDriver& ftp, const std::string& host,
                                     const std::string& user, const std::string& password, std::int32_t port,
                                     bool passive) {
    ftp.SetProperty(coftp::dispidHost, host);
    ftp.SetProperty(coftp::dispidUser, user);
    ftp.SetProperty(coftp::dispidPassword, password);
    ftp.SetProperty(coftp::dispidPort, Low16(port));
    ftp.SetProperty(coftp::dispidPassive, std::int32_t{passive ? 1 : 0});
    ftp.SetProperty(coftp::dispid35, std::int32_t{0});
    ftp.SetProperty(coftp::dispid34, std::int16_t{20});
}

void CFtpProbe::Open(const CConnectionInfo& connection, const CProxySettings& proxy, ProxyRule rule) {
    if (connection.m_bUseWinInet) {
        m_pConnection = m_pSession->GetFtpConnection(
            connection.m_strHost, connection.m_strUser, connection.m_strPassword,
            static_cast<std::uint16_t>(connection.m_nPort), connection.m_bPassive);
        m_pConnection->SetCurrentDirectory("/");
        m_bOpen = true;
        return;
    }
    if (m_driver.IsEmpty() && !m_driver.CreateDispatch(coftp::kProgId))
        throw CCreationFailed();
    ApplyProxy(m_driver, connection.m_bUseProxy, proxy, rule);
    SetSessionProperties(m_driver, connection.m_strHost, connection.m_strUser, connection.m_strPassword,
                         connection.m_nPort, connection.m_bPassive);
    m_driver.InvokeHelper(coftp::dispidConnect, InvokeKind::method);
    m_driver.InvokeHelper(coftp::dispidLogin, InvokeKind::method);
    m_bOpen = true;
}

std::vector<CRemoteItem> CFtpProbe::ListFolder(const std::string& path, bool strict) {
    std::vector<CRemoteItem> out;
    if (m_pConnection) {
        if (!m_pConnection->SetCurrentDirectory(path)) {
            if (strict)
                throw CInternetException(m_pConnection->GetLastErrorText());
            return out;
        }
        CFtpFileFind finder(m_pConnection.get());
        if (!finder.FindFile("*")) {
            // An empty folder is not a failure.
            if (strict && finder.GetLastErrorText().rfind("No file matches", 0) != 0)
                throw CInternetException(finder.GetLastErrorText());
            return out;
        }
        bool more = true;
        while (more) {
            more = finder.FindNextFile();
            if (finder.IsDots())
                continue;
            out.push_back({finder.GetFileName(), finder.GetFilePath(), finder.IsDirectory()});
        }
        finder.Close();
        return out;
    }
    if (m_driver.IsEmpty())
        throw COleException("No component is attached to the dispatch driver.");
    m_driver.InvokeHelper(coftp::dispidChangeDirectory, InvokeKind::method, {path});
    const std::string base = WithoutTrailingSeparators(path);
    m_driver.InvokeHelper(coftp::dispidList, InvokeKind::method, {std::string("*")});
    COleDispatchDriver listing(
        std::get<std::shared_ptr<IDispatch>>(m_driver.GetProperty(coftp::dispidListing)));
    const std::int32_t count = std::get<std::int32_t>(listing.GetProperty(coftp::dispidCount));
    // The index is 16-bit: entries past 32,767 cannot be addressed.
    const std::int32_t reachable = std::min<std::int32_t>(count, 32768);
    for (std::int32_t i = 0; i < reachable; ++i) {
        COleDispatchDriver item(std::get<std::shared_ptr<IDispatch>>(
            listing.InvokeHelper(coftp::dispidItem, InvokeKind::method, {static_cast<std::int16_t>(i)})));
        CRemoteItem entry;
        entry.strName = std::get<std::string>(item.GetProperty(coftp::dispidName));
        entry.strPath = base + "/" + entry.strName;
        entry.bFolder = std::get<std::int32_t>(item.GetProperty(coftp::dispidKind)) == coftp::kindFolder;
        out.push_back(std::move(entry));
    }
    return out;
}

void CFtpProbe::Close() {
    if (m_pConnection) {
        m_pConnection->Close();
        m_pConnection.reset();
    }
    if (!m_driver.IsEmpty()) {
        if (m_bOpen)
            m_driver.InvokeHelper(coftp::dispidDisconnect, InvokeKind::method);
        m_driver.ReleaseDispatch();
    }
    m_bOpen = false;
}

std::string CFtpProbe::ErrorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const COleDispatchException& e) {
        return e.m_strDescription;
    } catch (const CInternetException& e) {
        return e.GetErrorMessage();
    } catch (const std::bad_variant_access&) {
        return "Type mismatch.";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown failure.";
    }
}

CFtpProbe::Result CFtpProbe::Probe(const CConnectionInfo& connection, const CProxySettings& proxy,
                                   const std::string& path) {
    Result result;
    CFtpProbe probe;
    try {
        probe.Open(connection, proxy, ProxyRule::connectionTest);
        for (const CRemoteItem& item : probe.ListFolder(path.empty() ? std::string("/") : path, true))
            if (item.bFolder)
                result.arrFolders.push_back(item.strName);
        probe.Close();
        result.bOk = true;
    } catch (...) {
        result.strError = ErrorText(std::current_exception());
        result.arrFolders.clear();
    }
    return result;
}
