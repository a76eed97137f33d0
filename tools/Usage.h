#pragma once
// The one text of each command's usage, for --help and for usage errors.
#include <string>
#include <string_view>

namespace corvane {

// Every command with its arguments and what it does, as `corvane-dix --help` prints it.
std::string OverallUsage();
// One command's usage and help; empty for an unknown command.
std::string CommandUsage(std::string_view command);
// Prints the command's usage to standard error; returns the exit status of bad usage, 2.
int UsageError(std::string_view command);

} // namespace corvane
