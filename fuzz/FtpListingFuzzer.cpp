// libFuzzer target for the FTP listing parser, which reads whatever a server sends.
// Every entry it returns has a non-empty, single-line name.
#include "platform/FtpListParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    for (const bool mlsd : {false, true})
        for (const auto& e : corvane::ParseListing(body, mlsd).arrEntries)
            if (e.strName.empty() || e.strName.find('\n') != std::string::npos)
                __builtin_trap();
    (void)corvane::WildcardMatch(body.substr(0, size / 2), body.substr(size / 2));
    return 0;
}
