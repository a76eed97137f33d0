#pragma once
// Turns an FTP server's folder listing into entries. Pure functions: no I/O, no state,
// so every format quirk is covered by table-driven tests.
//
// Names stay in the server's bytes, here and after.
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

// One line of a LIST reply. Families read: Unix "ls -l" (dates in English and in the
// month names of German, French, Italian, Spanish, Dutch, Hungarian and Russian, in UTF-8
// or a single-byte code page; year/month/day with CJK unit characters; "26. Juli, 20:10",
// "Oct 08, 2002 09:47", ISO and numeric dates; no date at all; rounded sizes as "33.5k";
// short permission strings; inode and block-count columns in front), NetWare, NetPresenz,
// DOS/IIS, EPLF, OS/2, VMS, IBM AS/400, VxWorks and OS-9. False for lines that are not
// entries ("total 12", blank, unknown formats) and for a name of blanks only.
// A link's name is the part before " -> ", the rest its target; a VMS folder "NAME.DIR;1"
// is "NAME".
bool ParseListLine(std::string_view line, FtpListEntry& entry);

// One line of an MLSD reply ("fact=value;...; name"): the name is everything after the
// blank (a space, or a tab from some servers) that ends the facts. False for the current
// and the parent folder ("cdir", "pdir") and for malformed lines.
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
    // The first of them, its first kMaxQuotedLine bytes, in the server's bytes.
    std::string strFirstUnreadable;
};
inline constexpr std::size_t kMaxQuotedLine = 120;

// A whole reply body; lines end with CRLF or LF. A VMS entry whose name stands alone on
// its line is read together with the next line.
FtpListing ParseListing(std::string_view body, bool mlsd);

// What a listing left out, for the operator: how many lines could not be read and the
// first of them quoted (in the server's bytes). Empty when `count` is 0.
std::string UnreadableLinesText(std::size_t count, std::string_view first);

} // namespace corvane
