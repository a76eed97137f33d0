#pragma once
// Turns an FTP server's folder listing into entries. Pure functions: no I/O, no state,
// so every format quirk is covered by table-driven tests.
//
// Names stay in the server's bytes here; the session maps them to Windows-1252.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct FtpListEntry {
    enum class Type { file, folder, link, other };

    std::string strName;
    Type type = Type::file;
    // -1 when the listing gave no size.
    std::int64_t nSize = -1;
    // For links: where the link points, when the listing says.
    std::string strLinkTarget;

    friend bool operator==(const FtpListEntry&, const FtpListEntry&) = default;
};

// One line of a LIST reply, in the Unix ("ls -l", both date forms, with or without a
// group column, ISO dates, inode and block-count columns in front) or the DOS/IIS
// format. False for lines that are not entries ("total 12", blank, unknown formats).
// A link's name is the part before " -> ", the rest its target.
bool ParseListLine(std::string_view line, FtpListEntry& entry);

// One line of an MLSD reply ("fact=value;...; name"). False for the current and the
// parent folder ("cdir", "pdir") and for malformed lines.
bool ParseMlsdLine(std::string_view line, FtpListEntry& entry);

// File-mask match: "*" any run, "?" one character, the rest literal and case-sensitive
// (as names on most servers are).
bool WildcardMatch(std::string_view pattern, std::string_view name);

struct FtpListing {
    std::vector<FtpListEntry> arrEntries;
    // Lines that are neither entries nor known to carry none (blank, "total 12", the
    // folder itself and its parent). A listing with such lines and no entry is one we
    // cannot read, which is not the same as an empty folder.
    std::size_t nUnreadable = 0;
    std::string strFirstUnreadable;
};

// A whole reply body; lines end with CRLF or LF.
FtpListing ParseListing(std::string_view body, bool mlsd);

} // namespace corvane
