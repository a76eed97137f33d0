#include "platform/FtpListParser.h"

#include "model/AsciiCase.h"

#include <array>
#include <cctype>
#include <cmath>

// Every listing family is one step in kFamilies (near the end): each looks at a line's
// first tokens and takes the line only when they have its family's shape; the first that
// takes it wins. Unix goes first, as nearly every server speaks it, and each family is
// told by its first tokens, so the order matters for no line written in these formats.
namespace corvane {
namespace {

using Type = FtpListEntry::Type;

struct Token {
    std::string_view text;
    std::size_t begin; // offset of the token in the line
    std::size_t end;   // offset just past it
};

// The first blank-separated tokens of a line; past the last one reads as empty, so the
// shape checks need no bounds of their own.
struct Tokens {
    static constexpr std::size_t kMax = 16;
    std::array<Token, kMax> at{};
    std::size_t n = 0;

    std::string_view operator[](std::size_t i) const { return i < n ? at[i].text : std::string_view(); }
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

Tokens Tokenize(std::string_view line) {
    Tokens out;
    std::size_t i = 0;
    while (out.n < Tokens::kMax) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        out.at[out.n++] = {line.substr(start, i - start), start, i};
    }
    return out;
}

// The rest of the line after token `i`, its leading blanks dropped (columns padded with
// blanks) or only the one blank that separates it.
std::string_view RestAfter(std::string_view line, const Tokens& tk, std::size_t i, bool dropAllBlanks) {
    if (i >= tk.n)
        return {};
    std::size_t start = tk.at[i].end;
    if (dropAllBlanks) {
        while (start < line.size() && IsBlank(line[start]))
            ++start;
    } else if (start < line.size()) {
        ++start;
    }
    return start < line.size() ? line.substr(start) : std::string_view();
}

bool IsDigits(std::string_view s, std::size_t minLen = 1, std::size_t maxLen = 20) {
    if (s.size() < minLen || s.size() > maxLen)
        return false;
    for (const char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
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

std::string_view WithoutSuffix(std::string_view s, std::string_view chars) {
    while (!s.empty() && chars.find(s.back()) != std::string_view::npos)
        s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (corvane::AsciiLower(a[i]) != corvane::AsciiLower(b[i]))
            return false;
    return true;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool IsWhitespaceOnly(std::string_view s) {
    return s.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view StripEol(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// ---- Months, as `ls` writes them in the languages servers run in ----

// Lower-case forms (abbreviations and full names) per month, in UTF-8 and, where `ls`
// ran in a single-byte locale, in ISO-8859-1/-2 (the accented letters used here have the
// same byte in both). Russian single-byte forms are read through CyrillicToUtf8 instead.
// clang-format off
const std::array<std::initializer_list<std::string_view>, 12> kMonthNames = {{
    {"jan", "january", "januar", "j\xc3\xa4n", "j\xe4n", "j\xc3\xa4nner", "janv", "janvier", "gen", "gennaio", "ene",
     "enero", "januari", "janu\xc3\xa1r", "\xd1\x8f\xd0\xbd\xd0\xb2", "\xd1\x8f\xd0\xbd\xd0\xb2\xd0\xb0\xd1\x80\xd1\x8f"},
    {"feb", "february", "februar", "f\xc3\xa9vr", "f\xe9vr", "f\xc3\xa9v", "f\xc3\xa9vrier", "febbraio", "febrero",
     "februari", "febr", "febru\xc3\xa1r", "\xd1\x84\xd0\xb5\xd0\xb2", "\xd1\x84\xd0\xb5\xd0\xb2\xd1\x80"},
    {"mar", "march", "m\xc3\xa4r", "m\xe4r", "m\xc3\xa4rz", "m\xe4rz", "mrz", "mars", "marzo", "maart", "mrt",
     "m\xc3\xa1rc", "m\xe1rc", "m\xc3\xa1rcius", "\xd0\xbc\xd0\xb0\xd1\x80", "\xd0\xbc\xd0\xb0\xd1\x80\xd1\x82\xd0\xb0"},
    {"apr", "april", "avr", "avril", "aprile", "abr", "abril", "\xc3\xa1pr", "\xe1pr", "\xc3\xa1prilis",
     "\xd0\xb0\xd0\xbf\xd1\x80"},
    {"may", "mai", "mag", "maggio", "mayo", "mei", "m\xc3\xa1j", "m\xe1j", "m\xc3\xa1jus", "\xd0\xbc\xd0\xb0\xd0\xb9",
     "\xd0\xbc\xd0\xb0\xd1\x8f"},
    {"jun", "june", "juni", "juin", "giu", "giugno", "junio", "j\xc3\xban", "j\xfan", "j\xc3\xbanius",
     "\xd0\xb8\xd1\x8e\xd0\xbd", "\xd0\xb8\xd1\x8e\xd0\xbd\xd1\x8f"},
    {"jul", "july", "juli", "juil", "juillet", "lug", "luglio", "julio", "j\xc3\xbal", "j\xfal", "j\xc3\xbalius",
     "\xd0\xb8\xd1\x8e\xd0\xbb", "\xd0\xb8\xd1\x8e\xd0\xbb\xd1\x8f"},
    {"aug", "august", "ao\xc3\xbbt", "ao\xfbt", "aout", "ago", "agosto", "augustus", "augusztus",
     "\xd0\xb0\xd0\xb2\xd0\xb3"},
    {"sep", "sept", "september", "septembre", "set", "settembre", "septiembre", "szept", "szeptember",
     "\xd1\x81\xd0\xb5\xd0\xbd", "\xd1\x81\xd0\xb5\xd0\xbd\xd1\x82"},
    {"oct", "october", "okt", "oktober", "octobre", "ott", "ottobre", "octubre", "okt\xc3\xb3\x62\x65r",
     "\xd0\xbe\xd0\xba\xd1\x82"},
    {"nov", "november", "novembre", "noviembre", "\xd0\xbd\xd0\xbe\xd1\x8f", "\xd0\xbd\xd0\xbe\xd1\x8f\xd0\xb1"},
    {"dec", "december", "dez", "dezember", "d\xc3\xa9\x63", "d\xe9\x63", "d\xc3\xa9\x63\x65mbre", "dic", "dicembre",
     "diciembre", "\xd0\xb4\xd0\xb5\xd0\xba"},
}};
// clang-format on

// The Cyrillic letters а..я by their place in the alphabet, as KOI8-R orders them from 0xC0.
constexpr std::array<unsigned char, 32> kKoi8rOrder = {30, 0,  1,  22, 4,  5,  20, 3,  21, 8,  9,
                                                       10, 11, 12, 13, 14, 15, 31, 16, 17, 18, 19,
                                                       6,  2,  28, 27, 7,  24, 29, 25, 23, 26};

// A word of Cyrillic letters in KOI8-R or Windows-1251, lower-cased in UTF-8; empty when
// a byte is no letter of those.
std::string CyrillicToUtf8(std::string_view word, bool koi8r) {
    std::string out;
    for (const char ch : word) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0xC0)
            return {};
        const unsigned index = koi8r ? kKoi8rOrder[b & 0x1F] : (b & 0x1F);
        const unsigned codePoint = 0x430 + index;
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

int MonthByName(std::string_view word) {
    for (std::size_t m = 0; m < kMonthNames.size(); ++m)
        for (const std::string_view name : kMonthNames[m])
            if (name.size() == word.size() && EqualsNoCase(name, word))
                return static_cast<int>(m) + 1;
    return 0;
}

// 1..12 for a month name in any of the languages above ("Okt", "déc.", "Jan.,", "мая"), else 0.
int MonthOf(std::string_view token) {
    token = WithoutSuffix(token, ".,");
    if (token.empty() || std::isdigit(static_cast<unsigned char>(token[0])))
        return 0;
    if (const int month = MonthByName(token))
        return month;
    // A capital Cyrillic first letter in UTF-8 ("Окт"): А..П are D0 90..9F, Р..Я D0 A0..AF;
    // their small letters D0 B0..BF and D1 80..8F.
    const auto second = token.size() > 2 ? static_cast<unsigned char>(token[1]) : 0;
    if (static_cast<unsigned char>(token[0]) == 0xD0 && second >= 0x90 && second <= 0xAF) {
        std::string lower(token);
        lower[0] = static_cast<char>(second < 0xA0 ? 0xD0 : 0xD1);
        lower[1] = static_cast<char>(second < 0xA0 ? second + 0x20 : second - 0x20);
        if (const int month = MonthByName(lower))
            return month;
    }
    for (const bool koi8r : {true, false})
        if (const std::string utf8 = CyrillicToUtf8(token, koi8r); !utf8.empty())
            if (const int month = MonthByName(utf8))
                return month;
    return 0;
}

// ---- Dates: each form says how many tokens from `t` it spans, 0 when they are not one ----

// "12:34", "1:05", "12:34:56"
bool IsClock(std::string_view s) {
    const auto colon = s.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || !IsDigits(s.substr(0, colon)))
        return false;
    const std::string_view rest = s.substr(colon + 1);
    return IsDigits(rest, 2, 2) ||
           (rest.size() == 5 && IsDigits(rest.substr(0, 2)) && rest[2] == ':' && IsDigits(rest.substr(3, 2)));
}

bool IsYear(std::string_view s) {
    return IsDigits(s, 4, 4);
}

bool IsClockOrYear(std::string_view s) {
    return IsClock(s) || IsYear(s);
}

// "5", "05", "26.", "08," (1..31)
bool IsDay(std::string_view s) {
    s = WithoutSuffix(s, ".,");
    return IsDigits(s, 1, 2) && ToNumber(s) >= 1 && ToNumber(s) <= 31;
}

bool IsIsoDate(std::string_view s) {
    return s.size() == 10 && IsDigits(s.substr(0, 4)) && s[4] == '-' && IsDigits(s.substr(5, 2)) &&
           s[7] == '-' && IsDigits(s.substr(8, 2));
}

// "Oct 08, 2002 09:47" (the comma tells it from a name that starts with a time)
std::size_t MonthDayCommaYear(const Tokens& tk, std::size_t t) {
    if (!MonthOf(tk[t]) || !IsDay(tk[t + 1]) || tk[t + 1].back() != ',' || !IsYear(tk[t + 2]))
        return 0;
    return IsClock(tk[t + 3]) ? 4 : 3;
}

// "Mar 11 09:14", "Jan  2  2019", "Okt  8 12:34", "déc.  8  2020"
std::size_t MonthDay(const Tokens& tk, std::size_t t) {
    return MonthOf(tk[t]) && IsDay(tk[t + 1]) && IsClockOrYear(tk[t + 2]) ? 3 : 0;
}

// "5 Mar 10:00", "26. Juli, 20:10", "30. Jan., 12:40"
std::size_t DayMonth(const Tokens& tk, std::size_t t) {
    return IsDay(tk[t]) && MonthOf(tk[t + 1]) && IsClockOrYear(WithoutSuffix(tk[t + 2], ",")) ? 3 : 0;
}

// "2021-03-04 05:06"
std::size_t IsoDate(const Tokens& tk, std::size_t t) {
    return IsIsoDate(tk[t]) && IsClock(tk[t + 1]) ? 2 : 0;
}

// "3 29 03:26": month, day, time or year in digits.
std::size_t NumericMonthDay(const Tokens& tk, std::size_t t) {
    if (!IsDigits(tk[t], 1, 2) || ToNumber(tk[t]) < 1 || ToNumber(tk[t]) > 12)
        return 0;
    return IsDigits(tk[t + 1], 1, 2) && IsDay(tk[t + 1]) && IsClockOrYear(tk[t + 2]) ? 3 : 0;
}

// Year, month and day as numbers with unit characters: "3月 29日 03:26", "12月  3  2003",
// "2003年 3月 29日", "2019年12月11日 10:00", "3월 29일 03:26". Returns which units one token
// holds (1 year, 2 month, 4 day, 8 a bare number) or 0 when it is no such token.
unsigned CjkUnits(std::string_view s) {
    static constexpr std::array<std::pair<std::string_view, unsigned>, 6> kUnits = {{
        {"\xe5\xb9\xb4", 1},
        {"\xe6\x9c\x88", 2},
        {"\xe6\x97\xa5", 4}, // 年 月 日
        {"\xeb\x85\x84", 1},
        {"\xec\x9b\x94", 2},
        {"\xec\x9d\xbc", 4}, // 년 월 일
    }};
    unsigned units = 0;
    while (!s.empty()) {
        std::size_t digits = 0;
        while (digits < s.size() && std::isdigit(static_cast<unsigned char>(s[digits])))
            ++digits;
        if (digits == 0 || digits > 4)
            return 0;
        s.remove_prefix(digits);
        if (s.empty())
            return units | 8;
        unsigned found = 0;
        for (const auto& [unit, bit] : kUnits)
            if (s.substr(0, unit.size()) == unit) {
                found = bit;
                s.remove_prefix(unit.size());
            }
        if (found == 0 || (units & found))
            return 0;
        units |= found;
    }
    return units;
}

std::size_t CjkDate(const Tokens& tk, std::size_t t) {
    unsigned units = 0;
    std::size_t used = 0;
    for (; used < 3; ++used) {
        const unsigned these = CjkUnits(tk[t + used]);
        // A bare number is the day, and only right after the month.
        const bool bareDay = these == 8 && (units & 2) && !(units & 4);
        if (these == 0 || (these == 8 && !bareDay) || ((these & ~8u) & units))
            break;
        units |= bareDay ? 4 : these;
    }
    if ((units & 6) != 6)
        return 0;
    return IsClockOrYear(tk[t + used]) ? used + 1 : used;
}

using DateForm = std::size_t (*)(const Tokens&, std::size_t);
// The forms that need most tokens go first, so "Oct 08, 2002 09:47" is not read as "Oct 08, 2002".
constexpr std::array<DateForm, 6> kDateForms = {MonthDayCommaYear, MonthDay, DayMonth,
                                                IsoDate,           CjkDate,  NumericMonthDay};

std::size_t DateAt(const Tokens& tk, std::size_t t) {
    for (const DateForm form : kDateForms)
        if (const std::size_t used = form(tk, t))
            return used;
    return 0;
}

// ---- Sizes ----

// "33.5k", "2M", "1.2G": what a server rounded, in bytes.
bool ReadScaledSize(std::string_view s, std::int64_t& size) {
    static constexpr std::string_view kUnits = "kmgt";
    const auto unit = s.empty() ? std::string_view::npos : kUnits.find(corvane::AsciiLower(s.back()));
    if (unit == std::string_view::npos)
        return false;
    const std::string_view number = s.substr(0, s.size() - 1);
    const auto dot = number.find('.');
    const std::string_view whole = number.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? "0" : number.substr(dot + 1);
    if (!IsDigits(whole, 1, 6) || !IsDigits(fraction, 1, 3)) // below 2^63 bytes
        return false;
    const double value =
        static_cast<double>(ToNumber(whole)) +
        static_cast<double>(ToNumber(fraction)) / std::pow(10.0, static_cast<double>(fraction.size()));
    size = static_cast<std::int64_t>(std::ldexp(value, static_cast<int>(10 * (unit + 1))));
    return true;
}

// "4096"; a device's "1,   3" (only the minor number "3" is a token) and "8,0" give no size;
// "33.5k", "2M" are rounded; an owner or group run into the size ("ftpusers4096") gives
// its digits. False for a token that is no size.
bool ReadSize(std::string_view s, std::int64_t& size) {
    if (IsDigits(s)) {
        size = ToNumber(s);
        return true;
    }
    const auto comma = s.find(',');
    if (comma != std::string_view::npos) {
        size = -1;
        return IsDigits(s.substr(0, comma)) && (comma + 1 == s.size() || IsDigits(s.substr(comma + 1)));
    }
    if (ReadScaledSize(s, size))
        return true;
    std::size_t digits = 0;
    while (digits < s.size() && std::isdigit(static_cast<unsigned char>(s[s.size() - 1 - digits])))
        ++digits;
    if (digits == 0 || digits == s.size() || std::isdigit(static_cast<unsigned char>(s[0])))
        return false;
    size = ToNumber(s.substr(s.size() - digits));
    return true;
}

// ---- The families ----

FtpListEntry MakeEntry(std::string_view name, Type type, std::int64_t size) {
    FtpListEntry entry;
    entry.strName = std::string(name);
    entry.type = type;
    entry.nSize = size;
    return entry;
}

// "drwxr-xr-x", "-rw-r--r--+", "drwxrwx" (short), "drwxr-xr-x." (SELinux): the type, then
// 6 to 9 permission letters.
bool IsPermissions(std::string_view s) {
    if (s.empty() || std::string_view("-dlbcps").find(s[0]) == std::string_view::npos)
        return false;
    s = WithoutSuffix(s.substr(1), "+.@");
    if (s.size() < 6 || s.size() > 9)
        return false;
    for (const char c : s)
        if (std::string_view("rwxsStTlL-").find(c) == std::string_view::npos)
            return false;
    return true;
}

Type UnixType(char kind) {
    switch (kind) {
    case 'd':
        return Type::folder;
    case '-':
        return Type::file;
    case 'l':
        return Type::link;
    default:
        return Type::other;
    }
}

// Where the date is: the first place from `from` on where a size is followed by a date.
// Permissions, at least one of links, owner and group, and the size come first, so an
// owner named like a month ("jan 10 4096 Jan 5 ...") is passed over.
bool FindDate(const Tokens& tk, std::size_t from, std::size_t& sizeAt, std::size_t& lastDateToken,
              std::int64_t& size) {
    for (std::size_t t = from; t < tk.n; ++t) {
        if (!ReadSize(tk[t - 1], size))
            continue;
        if (const std::size_t used = DateAt(tk, t)) {
            sizeAt = t - 1;
            lastDateToken = t + used - 1;
            return true;
        }
    }
    return false;
}

// A line with no date: permissions, links, owner, [group,] size, name. Taken only when
// nothing after the size looks like a date or time, so that a date in a language we do
// not know makes the line unreadable instead of part of the name.
bool FindUndatedName(const Tokens& tk, std::size_t perms, std::size_t& sizeAt) {
    if (!IsDigits(tk[perms + 1]))
        return false;
    for (const std::size_t at : {perms + 4, perms + 3}) {
        if (!IsDigits(tk[at]) || at + 1 >= tk.n)
            continue;
        for (std::size_t i = at + 1; i < at + 4; ++i)
            if (IsClockOrYear(tk[i]) || MonthOf(tk[i]) || (CjkUnits(tk[i]) & 7))
                return false;
        sizeAt = at;
        return true;
    }
    return false;
}

// Unix "ls -l" in every dialect above; "ls -i" and "ls -s" put an inode number and a
// block count in front. The name follows the single blank after the date, so names keep
// their own leading and trailing blanks; a link's name ends at " -> ".
bool ParseUnix(std::string_view line, const Tokens& tk, FtpListEntry& entry) {
    std::size_t perms = 0;
    while (perms < 2 && IsDigits(tk[perms]))
        ++perms;
    if (!IsPermissions(tk[perms]))
        return false;
    std::size_t sizeAt = 0, nameAfter = 0;
    std::int64_t size = -1;
    if (FindDate(tk, perms + 3, sizeAt, nameAfter, size)) {
        // The size before the date.
    } else if (FindUndatedName(tk, perms, sizeAt)) {
        nameAfter = sizeAt;
        size = ToNumber(tk[sizeAt]);
    } else {
        return false;
    }
    std::string_view name = RestAfter(line, tk, nameAfter, false);
    const Type type = UnixType(tk[perms][0]);
    entry = MakeEntry({}, type, type == Type::other ? -1 : size);
    if (type == Type::link) {
        const auto arrow = name.find(" -> ");
        if (arrow != std::string_view::npos) {
            entry.strLinkTarget = std::string(name.substr(arrow + 4));
            name = name.substr(0, arrow);
        }
    }
    entry.strName = std::string(name);
    return true;
}

// NetWare: "d [R----F--] supervisor  512  Jan 16 18:53    login"; the name is padded.
bool ParseNetWare(std::string_view line, const Tokens& tk, FtpListEntry& entry) {
    if ((tk[0] != "d" && tk[0] != "-") || tk[1].size() < 3 || tk[1].front() != '[' || tk[1].back() != ']')
        return false;
    std::size_t sizeAt = 0, last = 0;
    std::int64_t size = -1;
    if (!FindDate(tk, 3, sizeAt, last, size))
        return false;
    entry = MakeEntry(RestAfter(line, tk, last, true), tk[0] == "d" ? Type::folder : Type::file, size);
    return true;
}

// "01-05-20  12:34PM  <DIR>  name", "2020-01-05  12:34  1,234 name", "01/05/2020 12:34 PM 12 x".
bool ParseDos(std::string_view line, const Tokens& tk, FtpListEntry& entry) {
    const std::string_view date = tk[0];
    if (date.size() < 8 || !std::isdigit(static_cast<unsigned char>(date[0])) ||
        date.find_first_not_of("0123456789-/.") != std::string_view::npos)
        return false;
    std::string_view clock = tk[1];
    if (clock.size() > 2 && (EndsWithNoCase(clock, "AM") || EndsWithNoCase(clock, "PM")))
        clock.remove_suffix(2);
    if (!IsClock(clock))
        return false;
    const std::size_t what = tk[2] == "AM" || tk[2] == "PM" ? 3 : 2;
    if (tk[what] == "<DIR>") {
        entry = MakeEntry(RestAfter(line, tk, what, true), Type::folder, -1);
        return true;
    }
    if (tk[what].empty() || tk[what].find_first_not_of("0123456789,") != std::string_view::npos)
        return false;
    entry = MakeEntry(RestAfter(line, tk, what, true), Type::file, ToNumber(tk[what]));
    return true;
}

// EPLF: "+i8388621.48594,m825718503,r,s280,\tdjb.html": facts up to a tab, then the name;
// "/" marks a folder, "r" a file, "s" the size.
bool ParseEplf(std::string_view line, const Tokens&, FtpListEntry& entry) {
    const auto tab = line.find('\t');
    if (line.empty() || line[0] != '+' || tab == std::string_view::npos)
        return false;
    entry = MakeEntry(line.substr(tab + 1), Type::other, -1);
    for (std::string_view facts = line.substr(1, tab - 1); !facts.empty();) {
        const auto comma = facts.find(',');
        const std::string_view fact = facts.substr(0, comma);
        facts = comma == std::string_view::npos ? std::string_view() : facts.substr(comma + 1);
        if (fact == "/")
            entry.type = Type::folder;
        else if (fact == "r" && entry.type == Type::other)
            entry.type = Type::file;
        else if (fact.size() > 1 && fact[0] == 's' && IsDigits(fact.substr(1)))
            entry.nSize = ToNumber(fact.substr(1));
    }
    return true;
}

// "12-14-99", "02-11-103" (years past 1999 as 100 and up)
bool IsOs2Date(std::string_view s) {
    return s.size() >= 8 && s.size() <= 9 && IsDigits(s.substr(0, 2)) && s[2] == '-' &&
           IsDigits(s.substr(3, 2)) && s[5] == '-' && IsDigits(s.substr(6));
}

// OS/2: "     0           DIR   02-11-103  16:15  name", "  345  A  12-02-96  13:46  file.txt".
bool ParseOs2(std::string_view line, const Tokens& tk, FtpListEntry& entry) {
    if (!IsDigits(tk[0]))
        return false;
    bool folder = false;
    std::size_t i = 1;
    for (; i < 4 &&
           (tk[i] == "DIR" || (!tk[i].empty() && tk[i].find_first_not_of("ADHRS") == std::string_view::npos));
         ++i)
        folder = folder || tk[i] == "DIR";
    if (!IsOs2Date(tk[i]) || !IsClock(tk[i + 1]))
        return false;
    entry = MakeEntry(RestAfter(line, tk, i + 1, true), folder ? Type::folder : Type::file,
                      folder ? -1 : ToNumber(tk[0]));
    return true;
}

// "NAME.DIR;1": the name up to the version; empty when the token is no VMS file name.
std::string_view VmsName(std::string_view token) {
    const auto semi = token.rfind(';');
    if (semi == std::string_view::npos || semi == 0 || !IsDigits(token.substr(semi + 1)))
        return {};
    return token.substr(0, semi);
}

// "5-MAR-1993", "05-MAR-1993"
bool IsVmsDate(std::string_view s) {
    const auto a = s.find('-'), b = s.rfind('-');
    return a != std::string_view::npos && a != b && IsDay(s.substr(0, a)) &&
           MonthOf(s.substr(a + 1, b - a - 1)) && IsYear(s.substr(b + 1));
}

// VMS: "NAME.DIR;1  1/3  5-MAR-1993 18:09:01 [GROUP,OWNER] (RWED,RWED,RE,RE)"; the folder
// is NAME. A long name may stand alone on its line, the rest following on the next
// (ParseListing joins the two).
bool ParseVms(std::string_view, const Tokens& tk, FtpListEntry& entry) {
    const std::string_view name = VmsName(tk[0]);
    const std::string_view blocks = tk[1].substr(0, tk[1].find('/'));
    if (name.empty() || !IsDigits(blocks) || !IsVmsDate(tk[2]))
        return false;
    if (EndsWithNoCase(name, ".DIR"))
        entry = MakeEntry(name.substr(0, name.size() - 4), Type::folder, -1);
    else
        entry = MakeEntry(name, Type::file, -1);
    return true;
}

bool IsAs400SizeDateTime(const Tokens& tk, std::size_t at) {
    return IsDigits(tk[at]) && !tk[at + 1].empty() &&
           tk[at + 1].find_first_not_of("0123456789/.-") == std::string_view::npos && IsClock(tk[at + 2]);
}

// IBM AS/400: "QSYS  77824 02/23/00 15:09:55 *DIR  QOpenSys/", "ANDREW  *MEM  SRC.FILE/X.MBR";
// the owner is left blank for anonymous sessions. Libraries, folders and directories are
// folders, and so is a name ending in "/".
bool ParseAs400(std::string_view line, const Tokens& tk, FtpListEntry& entry) {
    std::size_t kind = 1;
    std::int64_t size = -1;
    if (IsAs400SizeDateTime(tk, 1)) {
        kind = 4;
        size = ToNumber(tk[1]);
    } else if (IsAs400SizeDateTime(tk, 0)) {
        kind = 3;
        size = ToNumber(tk[0]);
    }
    const std::string_view type = tk[kind];
    if (type.size() < 2 || type[0] != '*' || !std::isupper(static_cast<unsigned char>(type[1])))
        return false;
    std::string_view name = RestAfter(line, tk, kind, true);
    const bool slash = !name.empty() && name.back() == '/';
    if (slash)
        name.remove_suffix(1);
    const bool folder = slash || type == "*DIR" || type == "*FLR" || type == "*LIB";
    entry = MakeEntry(name, folder ? Type::folder : Type::file, folder ? -1 : size);
    return true;
}

// VxWorks: "   512   FEB-09-2005  19:44:52   name   <DIR>".
bool ParseVxWorks(std::string_view line, const Tokens& tk, FtpListEntry& entry) {
    const std::string_view date = tk[1];
    if (!IsDigits(tk[0]) || date.size() < 10 || date[3] != '-' || !MonthOf(date.substr(0, 3)) ||
        !IsDay(date.substr(4, date.size() - 9)) || !IsYear(date.substr(date.size() - 4)) || !IsClock(tk[2]))
        return false;
    std::string_view name = RestAfter(line, tk, 2, true);
    const bool folder = name.size() > 5 && name.substr(name.size() - 5) == "<DIR>";
    if (folder)
        name = WithoutSuffix(name.substr(0, name.size() - 5), " \t");
    entry = MakeEntry(name, folder ? Type::folder : Type::file, folder ? -1 : ToNumber(tk[0]));
    return true;
}

// OS-9: "  0.0   05/10/28 0935 d-ewrewr   8E0   1280 CMDS": owner group.user, date, time,
// attributes ("d" first for a folder), sector (hex), byte count, name.
bool ParseOs9(std::string_view line, const Tokens& tk, FtpListEntry& entry) {
    const std::string_view owner = tk[0];
    const auto dot = owner.find('.');
    if (dot == std::string_view::npos || !IsDigits(owner.substr(0, dot)) ||
        !IsDigits(owner.substr(dot + 1)) || tk[1].size() != 8 ||
        tk[1].find_first_not_of("0123456789/") != std::string_view::npos || !IsDigits(tk[2], 4, 4) ||
        tk[3].empty() || tk[3].find_first_not_of("dsewr-") != std::string_view::npos || tk[4].empty() ||
        tk[4].find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos || !IsDigits(tk[5]))
        return false;
    const bool folder = tk[3][0] == 'd';
    entry = MakeEntry(RestAfter(line, tk, 5, true), folder ? Type::folder : Type::file, ToNumber(tk[5]));
    return true;
}

using Family = bool (*)(std::string_view line, const Tokens& tokens, FtpListEntry& entry);
// clang-format off
constexpr std::array<Family, 9> kFamilies = {
    ParseUnix, ParseDos, ParseNetWare, ParseEplf, ParseOs2, ParseVms, ParseAs400, ParseVxWorks, ParseOs9,
};
// clang-format on

// "NAME.DIR;1" alone on a line: the first half of a VMS entry.
bool IsLoneVmsName(std::string_view line) {
    const Tokens tk = Tokenize(line);
    return tk.n == 1 && !VmsName(tk[0]).empty();
}

// "total" as `ls` says it in the languages of kMonthNames and in Chinese, Japanese, Korean.
bool IsTotalWord(std::string_view word) {
    static constexpr std::array<std::string_view, 10> kTotal = {"total",
                                                                "insgesamt",
                                                                "totale",
                                                                "totaal",
                                                                "\xc3\xb6sszesen",
                                                                "\xd0\xb8\xd1\x82\xd0\xbe\xd0\xb3\xd0\xbe",
                                                                "\xe6\x80\xbb\xe7\x94\xa8\xe9\x87\x8f",
                                                                "\xe5\x90\x88\xe8\xa8\x88",
                                                                "\xed\x95\xa9\xea\xb3\x84",
                                                                "gesamt"};
    for (const std::string_view total : kTotal)
        if (EqualsNoCase(word, total))
            return true;
    return false;
}

// Lines a server sends that carry no entry: "total 12", VMS's "Directory ..." and "Total
// of 3 files", the column heads and rules of VxWorks and OS-9, blank lines.
bool IsKnownListNonEntry(std::string_view line) {
    const Tokens tk = Tokenize(line);
    if (tk.n == 0)
        return true;
    if ((tk.n == 2 && IsTotalWord(tk[0])) || (tk[0] == "Total" && tk[1] == "of") ||
        (tk[0] == "Grand" && tk[1] == "total") ||
        (tk[0] == "Directory" && (tk[1] == "of" || tk[1].find_first_of(":[") != std::string_view::npos)))
        return true;
    if (line.find_first_not_of("- \t") == std::string_view::npos)
        return true;
    // A column head: words only, the last of them "name".
    for (std::size_t i = 0; i < tk.n; ++i)
        for (const char c : tk[i])
            if (!std::isalpha(static_cast<unsigned char>(c)))
                return false;
    return EqualsNoCase(tk[tk.n - 1], "name");
}

// MLSD facts end at the first blank (a tab, from some servers); the name is all after it.
std::size_t MlsdFactsEnd(std::string_view line) {
    return line.find_first_of(" \t");
}

bool IsKnownMlsdNonEntry(std::string_view line) {
    if (IsWhitespaceOnly(line))
        return true;
    for (std::string_view facts = line.substr(0, MlsdFactsEnd(line)); !facts.empty();) {
        const auto semi = facts.find(';');
        const std::string_view fact = facts.substr(0, semi);
        if (EqualsNoCase(fact, "type=cdir") || EqualsNoCase(fact, "type=pdir"))
            return true;
        facts = semi == std::string_view::npos ? std::string_view() : facts.substr(semi + 1);
    }
    return false;
}

} // namespace

bool ParseListLine(std::string_view line, FtpListEntry& entry) {
    line = StripEol(line);
    const Tokens tokens = Tokenize(line);
    if (tokens.n == 0)
        return false;
    for (const Family family : kFamilies) {
        if (family(line, tokens, entry)) {
            // A name of blanks only is a line cut short, never an entry.
            return !IsWhitespaceOnly(entry.strName);
        }
    }
    return false;
}

bool ParseMlsdLine(std::string_view line, FtpListEntry& entry) {
    line = StripEol(line);
    const auto factsEnd = MlsdFactsEnd(line);
    if (factsEnd == std::string_view::npos || IsWhitespaceOnly(line.substr(factsEnd + 1)))
        return false;
    std::string_view facts = line.substr(0, factsEnd);
    entry = MakeEntry(line.substr(factsEnd + 1), Type::other, -1);
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
            if (EqualsNoCase(value, "cdir") || EqualsNoCase(value, "pdir"))
                return false;
            if (EqualsNoCase(value, "dir")) {
                entry.type = Type::folder;
            } else if (EqualsNoCase(value, "file")) {
                entry.type = Type::file;
            } else if (EqualsNoCase(value.substr(0, 13), "OS.unix=slink") ||
                       EqualsNoCase(value, "OS.unix=symlink")) {
                entry.type = Type::link;
                const auto colon = value.find(':');
                if (colon != std::string_view::npos)
                    entry.strLinkTarget = std::string(value.substr(colon + 1));
            }
        } else if (EqualsNoCase(key, "size") && IsDigits(value)) {
            entry.nSize = ToNumber(value);
        }
    }
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
    FtpListEntry entry;
    const auto nextLine = [&body](std::size_t& pos) {
        std::size_t eol = body.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = body.size();
        const std::string_view line = StripEol(body.substr(pos, eol - pos));
        pos = eol + 1;
        return line;
    };
    for (std::size_t pos = 0; pos < body.size();) {
        const std::string_view line = nextLine(pos);
        if (mlsd ? ParseMlsdLine(line, entry) : ParseListLine(line, entry)) {
            out.arrEntries.push_back(std::move(entry));
            continue;
        }
        if (!mlsd && pos < body.size() && IsLoneVmsName(line)) {
            std::size_t after = pos;
            const std::string joined = std::string(line) + " " + std::string(nextLine(after));
            if (ParseListLine(joined, entry)) {
                out.arrEntries.push_back(std::move(entry));
                pos = after;
                continue;
            }
        }
        if (!(mlsd ? IsKnownMlsdNonEntry(line) : IsKnownListNonEntry(line)) && out.nUnreadable++ == 0)
            out.strFirstUnreadable = std::string(line.substr(0, kMaxQuotedLine));
    }
    return out;
}

std::string UnreadableLinesText(std::size_t count, std::string_view first) {
    if (count == 0)
        return {};
    return std::to_string(count) + (count == 1 ? " line" : " lines") +
           " of the listing could not be read and " + (count == 1 ? "is" : "are") +
           " not shown (the first: \"" + std::string(first) + "\").";
}

} // namespace corvane
