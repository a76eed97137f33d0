#pragma once
// How a password shows wherever the program writes one out (command transcripts, dumps,
// messages): always the same mask, so that not even its length is given away.
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kSecretMask = "********";

// The mask for a set password, nothing for an empty one.
inline std::string MaskSecret(std::string_view secret) {
    return secret.empty() ? std::string() : std::string(kSecretMask);
}

} // namespace corvane
