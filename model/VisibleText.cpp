#include "VisibleText.h"

#include "model/CodePage.h"

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
        const std::size_t length = WellFormedUtf8At(utf8, i);
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
