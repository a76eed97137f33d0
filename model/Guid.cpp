#include "model/Guid.h"

#include <cstdint>
#include <cstdio>
#include <sys/random.h>

namespace corvane {

std::string NewGuidString() {
    std::uint8_t b[16];
    std::size_t got = 0;
    while (got < sizeof b) {
        const ssize_t n = getrandom(b + got, sizeof b - got, 0);
        if (n <= 0)
            return {};
        got += static_cast<std::size_t>(n);
    }
    // Version 4, variant 1, as the operating system's identifiers are.
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80);
    char out[39];
    std::snprintf(out, sizeof out, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return out;
}

} // namespace corvane
