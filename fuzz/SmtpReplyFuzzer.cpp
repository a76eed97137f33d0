// libFuzzer target for the mail component's SMTP reply reader, fed as a relay would feed
// it: commands and replies in pieces of any size. The reader stays within its cap, and
// what the operator would read of a reply shows no password and no control character.
#include "model/SecretText.h"
#include "model/VisibleText.h"
#include "platform/CSmtpTrace.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::string_view kPassword = "S3cretPw12";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each piece: one byte (the high bit: sent by us; the rest: its length), then its bytes.
    CSmtpTrace trace;
    for (std::size_t i = 0; i < size;) {
        const bool sent = data[i] & 0x80;
        const std::size_t length = std::min<std::size_t>(data[i] & 0x7F, size - i - 1);
        const std::string_view piece(reinterpret_cast<const char*>(data) + i + 1, length);
        sent ? trace.Sent(piece) : trace.Received(piece);
        i += 1 + length;
    }
    std::string reply;
    for (const std::string& line : trace.lastReply)
        reply += line + "\n";
    if (reply.size() > CSmtpTrace::kMaxReplyBytes + trace.lastReply.size() * 2 + 8)
        __builtin_trap();
    const std::string masked = corvane::MaskSecretsIn(reply, {kPassword});
    if (masked.find(kPassword) != std::string::npos)
        __builtin_trap();
    if (corvane::HasControlCharacter(corvane::VisibleText(masked)))
        __builtin_trap();
    return 0;
}
