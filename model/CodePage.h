#pragma once
// The project holds text as the bytes of the Windows-1252 code page so that every
// file round-trips byte for byte; Unicode appears only at the UI and JSON edges.
#include <string>
#include <string_view>

namespace corvane {

// Lossless for all 256 byte values: the five bytes Windows-1252 leaves undefined
// map to the C1 controls with the same number (U+0081, U+008D, U+008F, U+0090, U+009D).
std::string Cp1252ToUtf8(std::string_view cp1252);

// Characters the code page cannot hold become '?'; malformed UTF-8 bytes too.
std::string Utf8ToCp1252(std::string_view utf8);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// How a name, a path or an error text from an FTP server reads, in UTF-8: as UTF-8 when its
// bytes are valid UTF-8 (ASCII included), else as the code page (legacy servers). For
// showing only: the project and the session keep the server's own bytes.
std::string RemoteNameToUtf8(std::string_view serverBytes);

// For text that must not change on the way in: false when a character has no byte in
// the code page or the UTF-8 is malformed (`out` is then unspecified).
bool Utf8ToCp1252Exact(std::string_view utf8, std::string& out);

// Used for the wide string form of the file: UTF-16LE code units.
std::string Utf16ToCp1252(std::u16string_view utf16);

// Equal letter for letter with case ignored, over the whole code page (É equals é,
// Š equals š), as the connections list compares hosts.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// `cp1252` with letter case folded as EqualIgnoringCase folds it: a key for hash sets, so
// that two texts are equal ignoring case exactly when their folded forms are equal.
std::string FoldCase(std::string_view cp1252);

// Unicode code point of one code page byte, and the reverse (-1 when unrepresentable).
char32_t Cp1252ToCodePoint(unsigned char byte);
int CodePointToCp1252(char32_t cp);

// Blanks (space, tab, CR, LF) removed at both ends.
std::string_view Trim(std::string_view text);
inline std::string Trim(const std::string& text) {
    return std::string(Trim(std::string_view(text)));
}

} // namespace corvane
