// libFuzzer target for the WinSCP.ini reader and its password decoding: any bytes give
// entries or the reader's own error, and every entry offered for import has a host and
// a real port.
#include "tools/WinScpSiteList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        for (const auto& e : corvane::ReadWinScpSites(text))
            if (e.skipReason.empty() && (e.host.empty() || e.port < 1 || e.port > 65535))
                __builtin_trap();
    } catch (const corvane::SiteListError&) {
    }
    (void)corvane::DecodeWinScpPassword(text.substr(0, size / 2), text.substr(size / 2));
    return 0;
}
