#pragma once
// How a password shows wherever the program writes one out (command transcripts, dumps,
// messages): always the same mask, so that not even its length is given away.
//
// Masking is for what came from outside (a server's reply, a transcript), never for the
// program's own words, and it comes before any cutting, so that no part of a secret is
// left for a cut to expose.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::string_view kSecretMask = "********";

// The mask for a set password, nothing for an empty one.
inline std::string MaskSecret(std::string_view secret) {
    return secret.empty() ? std::string() : std::string(kSecretMask);
}

// `text` (a server's reply or a transcript, possibly of several lines) with every set
// secret masked, whatever its length, in each form a server may echo it:
// - the secret's bytes, also when a line break split them, continuing on the next line
//   after its reply code ("535-... S3cr" / "535 5.7.8 et ...": each part is masked);
// - base64 that carries the secret: the AUTH PLAIN token ("\0user\0password"), AUTH
//   LOGIN's password, an HTTP proxy's "Basic" credentials ("user:password"). The whole
//   base64 word is masked, so no bits around the secret are left either. A secret of at
//   least five bytes is found at every position inside such a token.
// Each run of masked characters becomes one mask.
std::string MaskSecretsIn(std::string_view text, const std::vector<std::string_view>& secrets);
inline std::string MaskSecretsIn(std::string_view text, std::initializer_list<std::string_view> secrets) {
    return MaskSecretsIn(text, std::vector<std::string_view>(secrets));
}

// The base64 form (RFC 4648, with padding) of `bytes`.
std::string Base64(std::string_view bytes);

} // namespace corvane
