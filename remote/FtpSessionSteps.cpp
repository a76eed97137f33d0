#include "remote/FtpSessionSteps.h"

#include "platform/COleException.h"

#include <algorithm>
#include <limits>

namespace corvane::remote {

std::optional<std::int32_t> ComponentProxyType(std::int32_t recordType) {
    switch (recordType) {
    case CProxySettings::typeNone:
        return 0;
    case CProxySettings::typeSocks4:
        return 1;
    case CProxySettings::typeSocks4A:
        return 2;
    case CProxySettings::typeSocks5:
        return 3;
    case CProxySettings::typeHttp:
        return 4;
    default:
        return std::nullopt;
    }
}

void ApplyProxy(COleDispatchDriver& ftp, bool useProxy, bool announceNoProxy, const CProxySettings& proxy) {
    if (!useProxy) {
        if (announceNoProxy)
            ftp.SetProperty(dispid::proxyType, std::int32_t{0});
        return;
    }
    if (const auto type = ComponentProxyType(proxy.m_nType))
        ftp.SetProperty(dispid::proxyType, *type);
    ftp.SetProperty(dispid::proxyHost, proxy.m_strHost);
    ftp.SetProperty(dispid::proxyPort, static_cast<std::int16_t>(proxy.m_nPort));
    ftp.SetProperty(dispid::proxyUser, proxy.m_strUser);
    ftp.SetProperty(dispid::proxyPassword, proxy.m_strPassword);
}

void OpenComponentSession(COleDispatchDriver& ftp, const FtpLogin& login) {
    ftp.SetProperty(dispid::host, login.host);
    ftp.SetProperty(dispid::user, login.user);
    ftp.SetProperty(dispid::password, login.password);
    // The member is 16-bit: port 40000 travels as the same 16 bits read as signed.
    ftp.SetProperty(dispid::port, static_cast<std::int16_t>(login.port));
    ftp.SetProperty(dispid::passive, std::int32_t{login.passive ? 1 : 0});
    ftp.SetProperty(dispid::unnamed35, std::int32_t{0});
    ftp.SetProperty(dispid::unnamed34, std::int16_t{20});
    ftp.InvokeHelper(dispid::connect, InvokeKind::method);
    ftp.InvokeHelper(dispid::login, InvokeKind::method);
}

std::string ErrorText(std::exception_ptr error) {
    std::string text;
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const COleDispatchException& e) {
        text = e.m_strDescription;
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "Unknown error.";
    }
    if (text.size() > kMaxErrorChars)
        text.resize(kMaxErrorChars);
    return text;
}

} // namespace corvane::remote

namespace corvane::remote {

namespace {

template <class T> T As(const CVariant& value) {
    if (const T* v = std::get_if<T>(&value))
        return *v;
    throw COleException("Type mismatch.");
}

} // namespace

std::vector<ListedEntry> ListComponentFolder(COleDispatchDriver& ftp, const std::string& path) {
    ftp.InvokeHelper(dispid::changeDirectory, InvokeKind::method, {path});
    std::string base = path;
    while (!base.empty() && (base.back() == '/' || base.back() == '\\'))
        base.pop_back();
    ftp.InvokeHelper(dispid::list, InvokeKind::method, {std::string("*")});

    std::vector<ListedEntry> entries;
    COleDispatchDriver listing(As<std::shared_ptr<IDispatch>>(ftp.GetProperty(dispid::listing)));
    const std::int32_t count = As<std::int32_t>(listing.GetProperty(dispid::listingCount));
    const std::int32_t addressable =
        std::min<std::int32_t>(count, std::numeric_limits<std::int16_t>::max() + 1);
    for (std::int32_t i = 0; i < addressable; ++i) {
        COleDispatchDriver item(As<std::shared_ptr<IDispatch>>(
            listing.InvokeHelper(dispid::listingItem, InvokeKind::method, {static_cast<std::int16_t>(i)})));
        ListedEntry entry;
        entry.name = As<std::string>(item.GetProperty(dispid::entryName));
        entry.path = base + "/" + entry.name;
        entry.folder = As<std::int32_t>(item.GetProperty(dispid::entryKind)) == kKindFolder;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::string> SplitWalkComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    // The final empty component makes the walk list the folder it reached.
    parts.emplace_back();
    return parts;
}

} // namespace corvane::remote
