#pragma once
// The options the program answers without its window: they need no display, so
// they are handled before the toolkit starts (which would fail without one, and
// open a window with one).
#include <iosfwd>
#include <optional>

namespace corvane {

// The exit status when argv holds --version, --help, --register-desktop or
// --unregister-desktop (answered on `out`, failures on `err`); nothing when the
// window is to start.
std::optional<int> AnswerWithoutToolkit(int argc, const char* const* argv, std::ostream& out,
                                        std::ostream& err);

} // namespace corvane
