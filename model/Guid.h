#pragma once
#include <string>

namespace corvane {

// A new random 128-bit identifier in registry form: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// upper-case hexadecimal. Empty when the system has no randomness to give.
std::string NewGuidString();

} // namespace corvane
