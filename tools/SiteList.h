#pragma once
// Site lists that operators already keep in other FTP programs, read as far as one of
// our FTP connections needs them. Pure functions: no files, no project.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The list as a whole cannot be read: not a format we know, or damaged.
class SiteListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Longest site name with its folders that a site entry keeps; a longer name is cut
// (it is only for messages), and a site in folders longer than this is skipped.
constexpr std::size_t kMaxSiteNameBytes = 1024;

// One site of a list; text is UTF-8 as the list holds it.
struct SiteEntry {
    // The site's name with the folders it sits in ("Customers/North"), for messages.
    std::string name;
    std::string host;
    int port = 21;
    std::string user;
    std::string password;
    // The list logs in anonymously; user and password are then not meaningful.
    bool anonymous = false;
    bool passive = true;
    // Why the entry cannot become a plain-FTP connection; empty when it can.
    std::string skipReason;
};

// Recognises the format by content (a FileZilla site manager file or a WinSCP.ini), at
// most kMaxSiteListBytes. Throws SiteListError naming what is wrong, with a line number
// where there is one.
std::vector<SiteEntry> ReadSiteList(std::string_view bytes);

// Port text of a site list: "" gives `fallback`; false for anything outside 1..65535.
bool ParseSitePort(std::string_view text, int fallback, int& port);

} // namespace corvane
