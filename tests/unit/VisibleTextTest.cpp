// Text from outside never reaches a terminal, a window or a server command raw.
#include "model/VisibleText.h"

#include <gtest/gtest.h>

namespace {

struct VisibleCase {
    const char* what;
    std::string_view in;
    const char* shown;
};

const VisibleCase kVisible[] = {
    {"plain and accented", "caf\xC3\xA9 /pub\\x", "caf\xC3\xA9 /pub\\x"},
    {"line breaks and tab", "a\r\nb\tc", "a\\r\\nb\\tc"},
    {"clear screen", "\x1b[2Jgone", "\\x1b[2Jgone"},
    {"terminal title", "\x1b]0;pwned\x07", "\\x1b]0;pwned\\x07"},
    {"NUL, BS and DEL", std::string_view("a\0b\x08\x7f", 5), "a\\x00b\\x08\\x7f"},
    {"C1 CSI as a code point",
     "\xC2\x9B"
     "31m",
     "\\u009b31m"},
    {"C1 CSI as a lone byte",
     "\x9B"
     "31m",
     "\\x9b31m"},
    {"truncated sequence", "ok\xE2\x82", "ok\\xe2\\x82"},
    {"no-break space stays", "a\xC2\xA0z", "a\xC2\xA0z"},
    {"four-byte character", "\xF0\x9F\x93\x81 dir", "\xF0\x9F\x93\x81 dir"},
};

TEST(VisibleText, ShowsEveryControlAsAnEscapeAndKeepsTheRest) {
    for (const auto& c : kVisible)
        EXPECT_EQ(corvane::VisibleText(c.in), c.shown) << c.what;
}

TEST(VisibleText, ControlCharactersBoundForAServerAreFound) {
    EXPECT_EQ(corvane::FindControlCharacter("bob\r\nSITE CHMOD"), 3u);
    EXPECT_EQ(corvane::FindControlCharacter(std::string_view("pw\0x", 4)), 2u);
    EXPECT_EQ(corvane::FindControlCharacter("del\x7f"), 3u);
    // Code page letters and UTF-8 above 0x7F are text, not controls.
    EXPECT_FALSE(corvane::HasControlCharacter("r\xE9mi \x80 \xC3\xA9"));
}

} // namespace
