#include "model/CodePage.h"

#include <algorithm>
#include <array>

namespace corvane {
namespace {

// 0x80..0x9F; the rest of the code page coincides with Latin-1.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr char32_t kMalformed = 0xFFFFFFFF;

// Bytes a sequence has, from its lead byte; 0 for a byte no sequence starts with.
std::size_t SequenceLength(char lead) {
    const auto b = static_cast<unsigned char>(lead);
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 0;
}

// The code point of the sequence at `i`, moving `i` past it; kMalformed (and `i` past
// the lead byte only) when the sequence is broken.
char32_t DecodeSequence(std::string_view s, std::size_t& i) {
    const std::size_t length = SequenceLength(s[i]);
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (length == 1)
        return lead;
    if (length == 0 || i + length - 1 > s.size())
        return kMalformed;
    char32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k - 1]);
        if ((c & 0xC0) != 0x80)
            return kMalformed;
        cp = (cp << 6) | (c & 0x3F);
    }
    i += length - 1;
    return cp;
}

} // namespace

char32_t Cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

int CodePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (const char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            AppendUtf8(out, Cp1252ToCodePoint(b));
    }
    return out;
}

namespace {

// One pass over UTF-8; `bad` receives every character the code page cannot hold and
// every malformed sequence, and returns false to stop.
template <class OnBad> void DecodeUtf8(std::string_view utf8, std::string& out, OnBad bad) {
    out.clear();
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t at = i;
        const char32_t cp = DecodeSequence(utf8, i);
        const int byte = cp == kMalformed ? -1 : CodePointToCp1252(cp);
        if (byte >= 0) {
            out += static_cast<char>(byte);
            continue;
        }
        // A sequence cut short by the end of the text is one character lost, not several.
        if (!bad(out) || (cp == kMalformed && at + SequenceLength(utf8[at]) > utf8.size()))
            return;
    }
}

} // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    DecodeUtf8(utf8, out, [](std::string& o) {
        o += '?';
        return true;
    });
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        // The allowed range of the second byte narrows for E0, ED, F0 and F4.
        int extra = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (bytes.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF))
                return false;
        }
        i += extra + 1;
    }
    return true;
}

std::string RemoteNameToUtf8(std::string_view serverBytes) {
    return IsValidUtf8(serverBytes) ? std::string(serverBytes) : Cp1252ToUtf8(serverBytes);
}

bool Utf8ToCp1252Exact(std::string_view utf8, std::string& out) {
    bool exact = true;
    DecodeUtf8(utf8, out, [&exact](std::string&) { return exact = false; });
    return exact;
}

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

namespace {
int FoldByte(char c) {
    const int u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return u + 0x20;
    if (u == 0x8A || u == 0x8C || u == 0x8E)
        return u + 0x10;
    return u == 0x9F ? 0xFF : u;
}
} // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldByte(x) == FoldByte(y); });
}

std::string FoldCase(std::string_view cp1252) {
    std::string out(cp1252.size(), '\0');
    std::transform(cp1252.begin(), cp1252.end(), out.begin(),
                   [](char c) { return static_cast<char>(FoldByte(c)); });
    return out;
}

std::string Utf16ToCp1252(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        }
        const int byte = CodePointToCp1252(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

} // namespace corvane
