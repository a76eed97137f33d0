#include "SiteList.h"

#include "FileZillaSiteList.h"
#include "WinScpSiteList.h"

#include "model/CappedFile.h"

#include <charconv>

namespace corvane {
namespace {

std::vector<SiteEntry> ReadByContent(std::string_view bytes) {
    std::string_view rest = bytes;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF")
        rest.remove_prefix(3);
    const auto first = rest.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && rest[first] == '<')
        return ReadFileZillaSites(bytes);
    if (LooksLikeWinScpIni(rest))
        return ReadWinScpSites(rest);
    throw SiteListError("not a site list this program knows (a FileZilla sitemanager.xml or a WinSCP.ini)");
}

} // namespace

std::vector<SiteEntry> ReadSiteList(std::string_view bytes) {
    if (bytes.size() > kMaxSiteListBytes)
        throw SiteListError("larger than " + DescribeCap(kMaxSiteListBytes) +
                            ", more than a site list holds");
    std::vector<SiteEntry> entries = ReadByContent(bytes);
    for (auto& e : entries)
        if (e.name.size() > kMaxSiteNameBytes)
            e.name.replace(kMaxSiteNameBytes, std::string::npos, "...");
    return entries;
}

bool ParseSitePort(std::string_view text, int fallback, int& port) {
    if (text.empty()) {
        port = fallback;
        return true;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

} // namespace corvane
