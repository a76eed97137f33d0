#include "platform/FtpListParser.h"

#include "model/AsciiCase.h"

#include <array>
#include <cctype>

namespace corvane {
namespace {

struct Token {
    std::string_view text;
    std::size_t end; // offset just past the token in the line
};

std::vector<Token> Tokenize(std::string_view line, std::size_t maxTokens) {
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < line.size() && out.size() < maxTokens) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        out.push_back({line.substr(start, i - start), i});
    }
    return out;
}

bool IsDigits(std::string_view s, std::size_t minLen = 1, std::size_t maxLen = 20) {
    if (s.size() < minLen || s.size() > maxLen)
        return false;
    for (const char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

bool IsMonth(std::string_view s) {
    static constexpr std::array<std::string_view, 12> months = {"jan", "feb", "mar", "apr", "may", "jun",
                                                                "jul", "aug", "sep", "oct", "nov", "dec"};
    if (s.size() != 3)
        return false;
    for (const auto m : months) {
        bool same = true;
        for (std::size_t i = 0; i < 3; ++i)
            if (corvane::AsciiLower(s[i]) != m[i])
                same = false;
        if (same)
            return true;
    }
    return false;
}

// "12:34", "1:05", "12:34:56"
bool IsClock(std::string_view s) {
    const auto colon = s.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2)
        return false;
    if (!IsDigits(s.substr(0, colon)))
        return false;
    const std::string_view rest = s.substr(colon + 1);
    return IsDigits(rest, 2, 2) ||
           (rest.size() == 5 && IsDigits(rest.substr(0, 2)) && rest[2] == ':' && IsDigits(rest.substr(3, 2)));
}

bool IsIsoDate(std::string_view s) {
    return s.size() == 10 && IsDigits(s.substr(0, 4)) && s[4] == '-' && IsDigits(s.substr(5, 2)) &&
           s[7] == '-' && IsDigits(s.substr(8, 2));
}

// A size, or the minor number of a device ("1,   3" gives "3", "8,0" stays one token).
bool IsSizeLike(std::string_view s) {
    const auto comma = s.find(',');
    if (comma == std::string_view::npos)
        return IsDigits(s);
    return IsDigits(s.substr(0, comma)) && (comma + 1 == s.size() || IsDigits(s.substr(comma + 1)));
}

std::int64_t ToNumber(std::string_view s) {
    std::int64_t v = 0;
    for (const char c : s) {
        if (c == ',')
            continue;
        if (v > (INT64_MAX - 9) / 10)
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string_view StripEol(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

bool ParseUnix(std::string_view line, FtpListEntry& entry) {
    const char kind = line[0];
    if (std::string_view("-dlbcps").find(kind) == std::string_view::npos || line.size() < 10)
        return false;
    for (std::size_t i = 1; i < 10; ++i)
        if (std::string_view("rwxsStTlL-").find(line[i]) == std::string_view::npos)
            return false;
    const std::vector<Token> tokens = Tokenize(line, 12);
    // The date: "Mon DD HH:MM", "Mon DD YYYY", "DD Mon ...", or "YYYY-MM-DD HH:MM"; the name
    // follows the single blank after it, so names keep their inner and trailing blanks.
    // The date comes after the permissions, at least one of links/owner/group and the size,
    // so an owner named like a month ("jan 10 4096 ...") is not taken for it.
    for (std::size_t t = 3; t + 1 < tokens.size(); ++t) {
        std::size_t last = 0;
        const std::size_t sizeToken = t - 1;
        if (!IsSizeLike(tokens[sizeToken].text))
            continue;
        if (t + 2 < tokens.size() && IsMonth(tokens[t].text) && IsDigits(tokens[t + 1].text, 1, 2) &&
            (IsClock(tokens[t + 2].text) || IsDigits(tokens[t + 2].text, 4, 4))) {
            last = t + 2;
        } else if (t + 2 < tokens.size() && IsDigits(tokens[t].text, 1, 2) && IsMonth(tokens[t + 1].text) &&
                   (IsClock(tokens[t + 2].text) || IsDigits(tokens[t + 2].text, 4, 4))) {
            last = t + 2;
        } else if (IsIsoDate(tokens[t].text) && IsClock(tokens[t + 1].text)) {
            last = t + 1;
        } else {
            continue;
        }
        const std::size_t nameStart = tokens[last].end + 1;
        if (nameStart >= line.size())
            return false;
        std::string_view name = line.substr(nameStart);
        entry = FtpListEntry{};
        entry.nSize = IsDigits(tokens[sizeToken].text) ? ToNumber(tokens[sizeToken].text) : -1;
        switch (kind) {
        case 'd':
            entry.type = FtpListEntry::Type::folder;
            break;
        case '-':
            entry.type = FtpListEntry::Type::file;
            break;
        case 'l': {
            entry.type = FtpListEntry::Type::link;
            const auto arrow = name.find(" -> ");
            if (arrow != std::string_view::npos) {
                entry.strLinkTarget = std::string(name.substr(arrow + 4));
                name = name.substr(0, arrow);
            }
            break;
        }
        default:
            entry.type = FtpListEntry::Type::other;
            entry.nSize = -1;
            break;
        }
        if (name.empty())
            return false;
        entry.strName = std::string(name);
        return true;
    }
    return false;
}

// "01-05-20  12:34PM  <DIR>  name", "2020-01-05  12:34  1,234 name", "01/05/2020 12:34 PM 12 x".
bool ParseDos(std::string_view line, FtpListEntry& entry) {
    const std::vector<Token> tokens = Tokenize(line, 5);
    if (tokens.size() < 4)
        return false;
    const std::string_view date = tokens[0].text;
    if (date.size() < 8 || !std::isdigit(static_cast<unsigned char>(date[0])))
        return false;
    for (const char c : date)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-' && c != '/' && c != '.')
            return false;
    std::string_view time = tokens[1].text;
    std::size_t next = 2;
    std::string_view clock = time;
    if (clock.size() > 2) {
        const std::string_view suffix = clock.substr(clock.size() - 2);
        if (suffix == "AM" || suffix == "PM" || suffix == "am" || suffix == "pm")
            clock.remove_suffix(2);
    }
    if (!IsClock(clock))
        return false;
    if (tokens[next].text == "AM" || tokens[next].text == "PM")
        ++next;
    if (next + 1 > tokens.size())
        return false;
    const std::string_view what = tokens[next].text;
    entry = FtpListEntry{};
    if (what == "<DIR>") {
        entry.type = FtpListEntry::Type::folder;
    } else {
        for (const char c : what)
            if (!std::isdigit(static_cast<unsigned char>(c)) && c != ',')
                return false;
        entry.type = FtpListEntry::Type::file;
        entry.nSize = ToNumber(what);
    }
    std::size_t nameStart = tokens[next].end;
    while (nameStart < line.size() && (line[nameStart] == ' ' || line[nameStart] == '\t'))
        ++nameStart;
    if (nameStart >= line.size())
        return false;
    entry.strName = std::string(line.substr(nameStart));
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (corvane::AsciiLower(a[i]) != corvane::AsciiLower(b[i]))
            return false;
    return true;
}

// Lines a server sends that carry no entry: nothing to report when they are all there is.
bool IsKnownNonEntry(std::string_view line, bool mlsd) {
    if (line.find_first_not_of(" \t") == std::string_view::npos)
        return true;
    if (mlsd) {
        const auto space = line.find(' ');
        for (std::string_view facts = line.substr(0, space); !facts.empty();) {
            const auto semi = facts.find(';');
            const std::string_view fact = facts.substr(0, semi);
            if (EqualsNoCase(fact, "type=cdir") || EqualsNoCase(fact, "type=pdir"))
                return true;
            facts = semi == std::string_view::npos ? std::string_view() : facts.substr(semi + 1);
        }
        return false;
    }
    const std::vector<Token> tokens = Tokenize(line, 3);
    return tokens.size() == 2 && EqualsNoCase(tokens[0].text, "total");
}

} // namespace

bool ParseListLine(std::string_view line, FtpListEntry& entry) {
    line = StripEol(line);
    if (line.empty())
        return false;
    if (std::isdigit(static_cast<unsigned char>(line[0])) && ParseDos(line, entry))
        return true;
    // "ls -i" and "ls -s" put an inode number and a block count before the permissions.
    for (int numbersSkipped = 0;; ++numbersSkipped) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos)
            return false;
        line.remove_prefix(start);
        if (ParseUnix(line, entry))
            return true;
        const auto end = line.find_first_of(" \t");
        if (numbersSkipped == 2 || end == std::string_view::npos || !IsDigits(line.substr(0, end)))
            return false;
        line.remove_prefix(end);
    }
}

bool ParseMlsdLine(std::string_view line, FtpListEntry& entry) {
    line = StripEol(line);
    const auto space = line.find(' ');
    if (space == std::string_view::npos || space + 1 >= line.size())
        return false;
    std::string_view facts = line.substr(0, space);
    entry = FtpListEntry{};
    entry.strName = std::string(line.substr(space + 1));
    bool typed = false;
    while (!facts.empty()) {
        const auto semi = facts.find(';');
        const std::string_view fact = facts.substr(0, semi);
        facts = semi == std::string_view::npos ? std::string_view() : facts.substr(semi + 1);
        const auto eq = fact.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view key = fact.substr(0, eq);
        const std::string_view value = fact.substr(eq + 1);
        if (EqualsNoCase(key, "type")) {
            typed = true;
            if (EqualsNoCase(value, "cdir") || EqualsNoCase(value, "pdir"))
                return false;
            if (EqualsNoCase(value, "dir")) {
                entry.type = FtpListEntry::Type::folder;
            } else if (EqualsNoCase(value, "file")) {
                entry.type = FtpListEntry::Type::file;
            } else if (EqualsNoCase(value.substr(0, 13), "OS.unix=slink") ||
                       EqualsNoCase(value, "OS.unix=symlink")) {
                entry.type = FtpListEntry::Type::link;
                const auto colon = value.find(':');
                if (colon != std::string_view::npos)
                    entry.strLinkTarget = std::string(value.substr(colon + 1));
            } else {
                entry.type = FtpListEntry::Type::other;
            }
        } else if (EqualsNoCase(key, "size") && IsDigits(value)) {
            entry.nSize = ToNumber(value);
        }
    }
    if (!typed)
        entry.type = FtpListEntry::Type::other;
    return true;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && pattern[p] == name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

FtpListing ParseListing(std::string_view body, bool mlsd) {
    FtpListing out;
    std::size_t pos = 0;
    FtpListEntry entry;
    while (pos < body.size()) {
        std::size_t eol = body.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = body.size();
        const std::string_view line = StripEol(body.substr(pos, eol - pos));
        pos = eol + 1;
        if (mlsd ? ParseMlsdLine(line, entry) : ParseListLine(line, entry)) {
            out.arrEntries.push_back(std::move(entry));
        } else if (!IsKnownNonEntry(line, mlsd) && out.nUnreadable++ == 0) {
            out.strFirstUnreadable = std::string(line.substr(0, 120));
        }
    }
    return out;
}

} // namespace corvane
