// libFuzzer target for the FileZilla site manager reader: any bytes give entries or the
// reader's own error, and every entry it offers for import has a host and a real port.
#include "tools/FileZillaSiteList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        for (const auto& e : corvane::ReadFileZillaSites({reinterpret_cast<const char*>(data), size}))
            if (e.skipReason.empty() && (e.host.empty() || e.port < 1 || e.port > 65535))
                __builtin_trap();
    } catch (const corvane::SiteListError&) {
    }
    return 0;
}
