#include "platform/CurlSetup.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

namespace corvane {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool StartsWithReplyCode(std::string_view line) {
    return line.size() >= 3 &&
           std::all_of(line.begin(), line.begin() + 3, [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace corvane
