#include "model/SecretText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace corvane {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBase64Character(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/';
}

// How many digits (at most `most`) stand at `at`.
std::size_t DigitsAt(std::string_view t, std::size_t at, std::size_t most) {
    std::size_t n = 0;
    while (n < most && at + n < t.size() && IsDigit(t[at + n]))
        ++n;
    return n;
}

// Length of what a secret continued on the next line is split by, starting at `at`: the
// line break, then that line's reply code ("535-", "530 "), an enhanced status code
// ("5.7.8 ") and blanks. 0 when no line break starts at `at`.
std::size_t SplitLength(std::string_view t, std::size_t at) {
    std::size_t j = at;
    if (t[j] == '\r')
        ++j;
    if (j < t.size() && t[j] == '\n')
        ++j;
    if (j == at)
        return 0;
    if (DigitsAt(t, j, 3) == 3 && j + 3 < t.size() && (t[j + 3] == '-' || t[j + 3] == ' '))
        j += 4;
    std::size_t k = j;
    for (int part = 0; part < 3; ++part) {
        const std::size_t n = DigitsAt(t, k, part == 0 ? 1 : 3);
        const char after = part == 2 ? ' ' : '.';
        if (n == 0 || k + n >= t.size() || t[k + n] != after)
            break;
        k += n + 1;
        if (part == 2)
            j = k;
    }
    while (j < t.size() && (t[j] == ' ' || t[j] == '\t'))
        ++j;
    return j - at;
}

// The base64 characters that depend on `secret` alone, for each of the three places it
// may start at within base64's three-byte groups: found in any token that carries it.
std::vector<std::string> Base64Cores(std::string_view secret) {
    std::vector<std::string> cores;
    for (std::size_t lead = 0; lead < 3; ++lead) {
        std::string padded(lead, '\0');
        padded += secret;
        const std::size_t first = lead ? 1 : 0;
        const std::size_t whole = padded.size() / 3;
        if (whole > first)
            cores.push_back(Base64(padded).substr(first * 4, (whole - first) * 4));
    }
    return cores;
}

} // namespace

std::string Base64(std::string_view bytes) {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

std::string MaskSecretsIn(std::string_view text, const std::vector<std::string_view>& secrets) {
    // The text without its line splits, and where each of its characters stands in `text`.
    std::string joined;
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t split = SplitLength(text, i)) {
            i += split;
            continue;
        }
        joined += text[i];
        at.push_back(i++);
    }
    std::vector<bool> masked(text.size(), false);
    for (const std::string_view secret : secrets) {
        if (secret.empty())
            continue;
        for (auto pos = text.find(secret); pos != std::string_view::npos; pos = text.find(secret, pos + 1))
            std::fill_n(masked.begin() + static_cast<std::ptrdiff_t>(pos), secret.size(), true);
        for (auto pos = joined.find(secret); pos != std::string::npos; pos = joined.find(secret, pos + 1))
            for (std::size_t k = pos; k < pos + secret.size(); ++k)
                masked[at[k]] = true;
        for (const std::string& core : Base64Cores(secret)) {
            for (auto pos = text.find(core); pos != std::string_view::npos; pos = text.find(core, pos + 1)) {
                std::size_t begin = pos, end = pos + core.size();
                while (begin > 0 && IsBase64Character(text[begin - 1]))
                    --begin;
                while (end < text.size() && (IsBase64Character(text[end]) || text[end] == '='))
                    ++end;
                std::fill(masked.begin() + static_cast<std::ptrdiff_t>(begin),
                          masked.begin() + static_cast<std::ptrdiff_t>(end), true);
            }
        }
    }
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!masked[i])
            out += text[i];
        else if (i == 0 || !masked[i - 1])
            out += kSecretMask;
    }
    return out;
}

} // namespace corvane
