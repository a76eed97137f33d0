#pragma once
// How a password shows wherever the program writes one out (command transcripts, dumps,
// messages): always the same mask, so that not even its length is given away.
#include <initializer_list>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kSecretMask = "********";

// The mask for a set password, nothing for an empty one.
inline std::string MaskSecret(std::string_view secret) {
    return secret.empty() ? std::string() : std::string(kSecretMask);
}

// `text` with every occurrence of each set secret masked, whatever its length: a server may
// echo what it was sent, and nothing it says may carry a password to a terminal or a log.
// One pass, longest secret first, so a secret found inside the mask is never masked again.
inline std::string MaskSecretsIn(std::string_view text, std::initializer_list<std::string_view> secrets) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t found = 0;
        for (const std::string_view secret : secrets)
            if (secret.size() > found && text.substr(i, secret.size()) == secret)
                found = secret.size();
        if (found) {
            out += kSecretMask;
            i += found;
        } else {
            out += text[i++];
        }
    }
    return out;
}

} // namespace corvane
