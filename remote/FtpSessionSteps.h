#pragma once
// The steps both remote dialogs take to open an FTP session through the component
// "Kestrel.CoFTP", in the member order the component expects, and the error text the
// operator reads when any step fails.
#include "model/CProxySettings.h"
#include "platform/COleDispatchDriver.h"
#include "platform/CoFtpDispIds.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace corvane::remote {

inline constexpr const char* kFtpProgId = coftp::kProgId;

// The component's dispatch identifiers, by the names the dialogs use.
namespace dispid {
inline constexpr DISPID listing = coftp::dispidListing, host = coftp::dispidHost, port = coftp::dispidPort,
                        user = coftp::dispidUser, password = coftp::dispidPassword,
                        login = coftp::dispidLogin, disconnect = coftp::dispidDisconnect,
                        connect = coftp::dispidConnect, passive = coftp::dispidPassive,
                        changeDirectory = coftp::dispidChangeDirectory, proxyType = coftp::dispidProxyType,
                        proxyUser = coftp::dispidProxyUser, proxyPassword = coftp::dispidProxyPassword,
                        proxyHost = coftp::dispidProxyHost, proxyPort = coftp::dispidProxyPort,
                        unnamed34 = coftp::dispid34, unnamed35 = coftp::dispid35, list = coftp::dispidList;
// Members of the listing object and of its entries.
inline constexpr DISPID listingCount = coftp::dispidCount, listingItem = coftp::dispidItem,
                        entryName = coftp::dispidName, entryKind = coftp::dispidKind;
} // namespace dispid

// The component's entry kind for a folder.
inline constexpr std::int32_t kKindFolder = coftp::kindFolder;

// What the operator typed (or a record holds) for one session.
struct FtpLogin {
    std::string host;
    std::string user;
    std::string password;
    std::int32_t port = 21;
    bool passive = false;
};

// The component's own proxy code for a project proxy type; none for unknown codes.
std::optional<std::int32_t> ComponentProxyType(std::int32_t recordType);

// Sets the component's proxy members from the project's proxy. Without the proxy,
// `announceNoProxy` decides between sending ProxyType 0 and sending nothing at all.
void ApplyProxy(COleDispatchDriver& ftp, bool useProxy, bool announceNoProxy, const CProxySettings& proxy);

// Host, User, Password, Port, Passive, the two fixed members, then Connect and Login.
void OpenComponentSession(COleDispatchDriver& ftp, const FtpLogin& login);

// The readable text of a failure, cut to what a 512-character buffer holds.
std::string ErrorText(std::exception_ptr error);
inline constexpr std::size_t kMaxErrorChars = 511;

} // namespace corvane::remote

namespace corvane::remote {

// One entry of a folder listing as the server gave it.
struct ListedEntry {
    std::string path;
    std::string name;
    bool folder = false;
};

// Makes `path` current and lists it through the component: entry paths are the
// folder without its trailing separators, "/", then the name. A listing holds at
// most 32,768 entries, since the component addresses them with a 16-bit index.
std::vector<ListedEntry> ListComponentFolder(COleDispatchDriver& ftp, const std::string& path);

// `path` split at "/" into its non-empty components, then one empty component.
std::vector<std::string> SplitWalkComponents(const std::string& path);

} // namespace corvane::remote
