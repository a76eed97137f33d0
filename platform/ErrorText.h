#pragma once
// How long an error text shown to a person may be, in characters, and the one way to cut one.
#include <cstddef>
#include <string>

namespace corvane {

// What the original 512-character message buffers held, less the terminator.
inline constexpr std::size_t kMaxErrorTextChars = 511;

// `utf8` cut to at most `maxChars` characters, never inside a UTF-8 sequence.
inline std::string CutToChars(std::string utf8, std::size_t maxChars = kMaxErrorTextChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i)
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && ++chars > maxChars) {
            utf8.resize(i);
            break;
        }
    return utf8;
}

} // namespace corvane
