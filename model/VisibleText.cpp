#include "VisibleText.h"

#include <array>

namespace corvane {

namespace {

void AppendHexEscape(std::string& out, const char* prefix, unsigned value) {
    static constexpr std::array<char, 16> kDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                     '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += prefix;
    out += kDigits[(value >> 4) & 0xF];
    out += kDigits[value & 0xF];
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at `i` (1 to 4), or 0 when the bytes there are
// not one: no overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t SequenceLength(std::string_view s, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > s.size() || at(1) < low || at(1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (!IsContinuation(at(k)))
            return 0;
    return length;
}

void AppendVisibleAscii(std::string& out, unsigned char c) {
    switch (c) {
    case '\r':
        out += "\\r";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        if (c < 0x20 || c == 0x7F)
            AppendHexEscape(out, "\\x", c);
        else
            out += static_cast<char>(c);
    }
}

} // namespace

std::string VisibleText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = SequenceLength(utf8, i);
        if (length == 1) {
            AppendVisibleAscii(out, lead);
        } else if (length == 0) {
            AppendHexEscape(out, "\\x", lead);
            ++i;
            continue;
        } else if (length == 2 && lead == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            AppendHexEscape(out, "\\u00", static_cast<unsigned char>(utf8[i + 1]));
        } else {
            out.append(utf8.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::size_t FindControlCharacter(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x20 || c == 0x7F)
            return i;
    }
    return std::string_view::npos;
}

} // namespace corvane
