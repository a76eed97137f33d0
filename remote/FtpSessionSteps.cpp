#include "remote/FtpSessionSteps.h"

#include "platform/CFtpProbe.h"
#include "platform/COleException.h"

#include <algorithm>
#include <limits>

namespace corvane::remote {

// The member order and proxy rules are the platform's, shared with corvane-dix probe.
std::optional<std::int32_t> ComponentProxyType(std::int32_t recordType) {
    return CFtpProbe::ComponentProxyType(recordType);
}

void ApplyProxy(COleDispatchDriver& ftp, bool useProxy, bool announceNoProxy, const CProxySettings& proxy) {
    CFtpProbe::ApplyProxy(ftp, useProxy, proxy,
                          announceNoProxy ? CFtpProbe::ProxyRule::connectionTest
                                          : CFtpProbe::ProxyRule::folderBrowser);
}

void OpenComponentSession(COleDispatchDriver& ftp, const FtpLogin& login) {
    CFtpProbe::SetSessionProperties(ftp, login.host, login.user, login.password, login.port, login.passive);
    ftp.InvokeHelper(dispid::connect, InvokeKind::method);
    ftp.InvokeHelper(dispid::login, InvokeKind::method);
}

std::string ErrorText(std::exception_ptr error) {
    std::string text = error ? CFtpProbe::ErrorText(error) : std::string("Unknown error.");
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
