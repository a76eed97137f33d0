#pragma once
// The one rule for text from outside (server replies, listing names, site lists, project
// text) on its way to a terminal or a window, and the one rule for text on its way to a
// server: control characters are shown as visible escapes, never raw, and never sent.
#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// `utf8` with every C0 control, DEL, C1 control (U+0080-U+009F) and every byte that is not
// part of well-formed UTF-8 written as a visible escape: "\r", "\n", "\t" for those three,
// "\xHH" for other bytes, "\u00HH" for C1 code points. Everything else, backslashes
// included, is kept, so a Windows path reads as the server sent it. The result is one line.
std::string VisibleText(std::string_view utf8);

// The position of the first character that may never reach a server command (C0 controls,
// CR, LF and NUL among them, and DEL), or npos. Works on any byte encoding: the code page's
// and UTF-8's bytes at or above 0x80 are never controls here.
std::size_t FindControlCharacter(std::string_view bytes);

inline bool HasControlCharacter(std::string_view bytes) {
    return FindControlCharacter(bytes) != std::string_view::npos;
}

} // namespace corvane
