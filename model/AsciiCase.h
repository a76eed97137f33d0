#pragma once
// Letter case and classes for protocol and file text (FTP and SMTP commands and
// replies, listings, host names, settings keys). These never follow the locale: the
// C library's tolower and isalnum change with it once the window is translated (a
// Turkish locale lowers "I" to a dotless i, a Latin-1 one calls byte 0xE4 a letter).
namespace corvane {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsAsciiAlnum(char c) {
    return IsAsciiDigit(c) || AsciiLower(c) != AsciiUpper(c);
}

} // namespace corvane
