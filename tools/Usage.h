#pragma once
// The one text of each command's usage, for --help and for usage errors, and the one
// reading of a command line's conventions: options each command knows, "--" ending the
// options, "-" for standard input or output where a file may be given.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Every command with its arguments and what it does, as `corvane-dix --help` prints it.
std::string OverallUsage();
// One command's usage and help; empty for an unknown command.
std::string CommandUsage(std::string_view command);
// Prints the command's synopsis and where to find help to standard error; returns the
// exit status of bad usage, 2.
int UsageError(std::string_view command);
// Prints "corvane-dix: PROBLEM" and where to find help to standard error; returns 2.
int UsageProblem(std::string_view problem);

struct CommandArguments {
    // What the command's own reader receives: options as given, "-" as "/dev/stdin"
    // where a file is read, an operand after "--" that starts with "-" as "./-...".
    std::vector<std::string> args;
    bool help = false;
};

// `args` checked against the command's usage; nothing, with the one-line `problem`
// naming the bad option or argument, when they do not fit it.
std::optional<CommandArguments> ReadArguments(std::string_view command, const std::vector<std::string>& args,
                                              std::string& problem);

} // namespace corvane
