// libFuzzer target for the FTP listing parser, which reads whatever a server sends.
// Every entry it returns has a single-line name that is not blanks only, and the count of
// unreadable lines comes with the first of them.
#include "platform/FtpListParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    for (const bool mlsd : {false, true}) {
        const corvane::FtpListing listing = corvane::ParseListing(body, mlsd);
        for (const auto& e : listing.arrEntries)
            if (e.strName.find_first_not_of(" \t") == std::string::npos ||
                e.strName.find('\n') != std::string::npos)
                __builtin_trap();
        if ((listing.nUnreadable == 0) !=
                corvane::UnreadableLinesText(listing.nUnreadable, listing.strFirstUnreadable).empty() ||
            listing.strFirstUnreadable.size() > corvane::kMaxQuotedLine)
            __builtin_trap();
    }
    (void)corvane::WildcardMatch(body.substr(0, size / 2), body.substr(size / 2));
    return 0;
}
