#include "WinScpSiteList.h"

#include "model/CodePage.h"

#include <charconv>
#include <map>

namespace corvane {
namespace {

using Section = std::map<std::string, std::string, std::less<>>;

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Names and text values escape special characters as %XX of their UTF-8 bytes.
std::string Unmunge(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string Get(const Section& s, std::string_view key) {
    const auto it = s.find(key);
    return it == s.end() ? std::string() : it->second;
}

bool GetInt(const Section& s, std::string_view key, int fallback, int& out) {
    const std::string text = Get(s, key);
    if (text.empty()) {
        out = fallback;
        return true;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string ProtocolSkipReason(int code) {
    switch (code) {
    case 5:
        return {};
    case 0:
        return "SCP, not plain FTP";
    case 1:
    case 2:
        return "SFTP, not plain FTP";
    case 6:
        return "WebDAV, not plain FTP";
    case 7:
        return "Amazon S3, not plain FTP";
    default:
        return "protocol " + std::to_string(code) + ", not plain FTP";
    }
}

SiteEntry MakeEntry(const std::string& name, const Section& s, bool masterPassword) {
    SiteEntry e;
    e.name = name;
    e.host = Unmunge(Get(s, "HostName"));
    e.user = Unmunge(Get(s, "UserName"));
    // A plain-FTP login needs a name; an empty one is how an anonymous site is stored.
    e.anonymous = e.user.empty();
    // Stored keys are only those that differ from the program's defaults: SFTP, passive.
    int protocol = 0, ftps = 0, passive = 0;
    const std::string port = Get(s, "PortNumber");
    if (e.host.empty())
        e.skipReason = "no host";
    else if (!GetInt(s, "FSProtocol", 2, protocol))
        e.skipReason = "FSProtocol is not a number";
    else if (!ProtocolSkipReason(protocol).empty())
        e.skipReason = ProtocolSkipReason(protocol);
    else if (!GetInt(s, "Ftps", 0, ftps) || ftps != 0)
        e.skipReason = "FTPS (FTP over TLS), not plain FTP";
    else if (!ParseSitePort(port, 21, e.port))
        e.skipReason = "port \"" + port + "\" is not a port number";
    else if (!GetInt(s, "FtpPasvMode", 1, passive))
        e.skipReason = "FtpPasvMode is not a number";
    e.passive = passive != 0;
    if (!e.skipReason.empty() || e.anonymous)
        return e;
    if (s.count("PasswordPlain")) {
        e.password = Unmunge(Get(s, "PasswordPlain"));
    } else if (s.count("Password")) {
        const auto password = DecodeWinScpPassword(Get(s, "Password"), e.user + e.host);
        if (masterPassword)
            e.skipReason = "its password is encrypted with a master password";
        else if (!password)
            e.skipReason = "its stored password cannot be decoded";
        else
            e.password = *password;
    }
    return e;
}

} // namespace

bool LooksLikeWinScpIni(std::string_view text) {
    for (const char* section : {"[Sessions\\", "[Configuration\\", "[SshHostKeys]"})
        if (text.rfind(section, 0) == 0 || text.find(std::string("\n") + section) != std::string_view::npos)
            return true;
    return false;
}

std::vector<SiteEntry> ReadWinScpSites(std::string_view ini) {
    std::vector<std::pair<std::string, Section>> sections;
    std::size_t lineNo = 0;
    while (!ini.empty()) {
        ++lineNo;
        const auto eol = ini.find('\n');
        std::string_view line = ini.substr(0, eol);
        ini.remove_prefix(eol == std::string_view::npos ? ini.size() : eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[' && line.back() == ']') {
            sections.emplace_back(std::string(line.substr(1, line.size() - 2)), Section());
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0 || sections.empty())
            throw SiteListError("line " + std::to_string(lineNo) + ": neither a [section] nor key=value");
        sections.back().second[std::string(Trim(line.substr(0, eq)))] = std::string(line.substr(eq + 1));
    }
    bool masterPassword = false;
    for (const auto& [name, section] : sections)
        if (name == "Configuration\\Security")
            masterPassword = Get(section, "UseMasterPassword") == "1";
    std::vector<SiteEntry> entries;
    constexpr std::string_view kSessions = "Sessions\\";
    for (const auto& [name, section] : sections) {
        if (name.rfind(kSessions, 0) != 0)
            continue;
        const std::string site = Unmunge(name.substr(kSessions.size()));
        if (site != "Default Settings")
            entries.push_back(MakeEntry(site, section, masterPassword));
    }
    return entries;
}

std::optional<std::string> DecodeWinScpPassword(std::string_view hex, std::string_view key) {
    // Each byte is stored as two hex digits of its complement xor 0xA3. The first is a flag
    // (0xFF when the key was prepended) or the length; then, with the flag, a dummy byte
    // and the length; then how many filler bytes precede the text.
    constexpr int kMagic = 0xA3, kFlag = 0xFF;
    std::size_t pos = 0;
    const auto next = [&]() -> int {
        if (pos + 2 > hex.size() || HexDigit(hex[pos]) < 0 || HexDigit(hex[pos + 1]) < 0)
            return -1;
        const int stored = HexDigit(hex[pos]) * 16 + HexDigit(hex[pos + 1]);
        pos += 2;
        return ~(stored ^ kMagic) & 0xFF;
    };
    const int flag = next();
    int length = flag;
    if (flag == kFlag && next() >= 0)
        length = next();
    const int shift = next();
    if (flag < 0 || length < 0 || shift < 0)
        return std::nullopt;
    pos += static_cast<std::size_t>(shift) * 2;
    std::string text;
    for (int i = 0; i < length; ++i) {
        const int ch = next();
        if (ch < 0)
            return std::nullopt;
        text += static_cast<char>(ch);
    }
    if (flag == kFlag) {
        if (text.compare(0, key.size(), key) != 0)
            return std::nullopt;
        text.erase(0, key.size());
    }
    return text;
}

} // namespace corvane
