// Masking of secrets in what a server said: every form a password travels in, parts
// split across reply lines, and never more than the secret's own characters.
#include "model/SecretText.h"

#include <gtest/gtest.h>

namespace {

struct MaskCase {
    const char* name;
    std::string text;
    std::vector<std::string_view> secrets;
    std::string expected;
};

constexpr std::string_view kPassword = "S3cretPw12";

const MaskCase kCases[] = {
    {"EveryOccurrence", "530 x: user x", {"x", ""}, "530 ********: user ********"},
    {"OverlappingSecretsOneMask", "ab abc abab", {"ab", "abc"}, "******** ******** ********"},
    {"MaskCharactersAsSecret", "a*b", {"*"}, "a********b"},
    {"NothingSet", "nothing", {"", ""}, "nothing"},
    // AUTH PLAIN "\0bob\0S3cretPw12" echoed: the whole token goes, not only its middle.
    {"AuthPlainToken",
     "535 5.7.8 Token AGJvYgBTM2NyZXRQdzEy refused",
     {kPassword},
     "535 5.7.8 Token ******** refused"},
    {"AuthLoginPassword",
     "535 Login Ym9i / UzNjcmV0UHcxMg== refused",
     {kPassword},
     "535 Login Ym9i / ******** refused"},
    // HTTP proxies' "Basic user:password", whatever the user name's length.
    {"BasicCredentials",
     "407 got Basic cHJveHl1c2VyOlMzY3JldFB3MTI=.",
     {kPassword},
     "407 got Basic ********."},
    {"BasicShortUser", "eDpTM2NyZXRQdzEy YWI6UzNjcmV0UHcxMg==", {kPassword}, "******** ********"},
    // The password's halves on two lines of one reply, after the code and status of the second.
    {"SplitAcrossReplyLines",
     "535-5.7.8 The password S3cre\r\n535 5.7.8 tPw12 is wrong",
     {kPassword},
     "535-5.7.8 The password ********\r\n535 5.7.8 ******** is wrong"},
    {"SplitAcrossPlainLines", "pw=S3c\nretPw12.", {kPassword}, "pw=********\n********."},
    // The same halves apart from each other are no password.
    {"HalvesApart", "S3cre and later tPw12", {kPassword}, "S3cre and later tPw12"},
    {"UnrelatedBase64Kept", "250 AUTH PLAIN dGVzdA== ok", {kPassword}, "250 AUTH PLAIN dGVzdA== ok"},
};

class MaskSecretsIn : public ::testing::TestWithParam<MaskCase> {};

INSTANTIATE_TEST_SUITE_P(, MaskSecretsIn, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(MaskSecretsIn, MasksEveryFormAndNothingElse) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(corvane::MaskSecretsIn(c.text, c.secrets), c.expected);
}

} // namespace
