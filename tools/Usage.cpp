#include "Usage.h"

#include <iostream>

namespace corvane {
namespace {

struct Entry {
    std::string_view name;
    std::string_view synopsis;
    std::string_view help;
};

constexpr Entry kCommands[] = {
    {"dump", "dump FILE [--show-passwords]",
     "print the project as JSON (UTF-8), passwords as \"********\" unless shown"},
    {"build", "build JSON OUT",
     "write a project file from JSON (\"-\" reads standard input); missing keys take the\n"
     "values of a new project"},
    {"check", "check FILE", "exit 0 for a well-formed project file, 1 with the reason otherwise"},
    {"new", "new OUT", "write the file of a new project"},
    {"probe", "probe FILE [--host HOST] [--path PATH] [--strict] [--verbose]",
     "connect to the project's FTP servers (or the one named HOST) as the connection\n"
     "test does and list PATH (default \"/\"); exit 0 when all work; warnings (such as a\n"
     "passive address the server announces wrongly) on \"warning:\" lines, exit 1 for them\n"
     "with --strict; --verbose prints each session's transcript on standard error"},
    {"sendtest", "sendtest FILE",
     "mail the test message with the project's mail account; prints OK or the reason it failed"},
    {"import", "import PROJECT SOURCE [--dry-run]",
     "add the plain-FTP sites of a FileZilla sitemanager.xml or a WinSCP.ini as connections;\n"
     "hosts the project has already are kept as they are; one line per site; --dry-run only\n"
     "reports; exit 1 when the project or the list cannot be read"},
    {"lint", "lint PROJECT",
     "one line per problem the service would trip over (code, record, what to do);\n"
     "exit 1 when there is any, 0 otherwise"},
    {"redact", "redact IN OUT",
     "write a copy of the project with every password emptied, for support tickets"},
};

std::string Indent(std::string_view text, std::string_view prefix) {
    std::string out(prefix);
    for (const char c : text) {
        out += c;
        if (c == '\n')
            out += prefix;
    }
    return out + "\n";
}

} // namespace

std::string OverallUsage() {
    std::string out = "usage: corvane-dix COMMAND ...\n       corvane-dix --version\n"
                      "       corvane-dix COMMAND --help\n\n";
    for (const auto& c : kCommands)
        out += "  " + std::string(c.synopsis) + "\n" + Indent(c.help, "      ");
    return out;
}

std::string CommandUsage(std::string_view command) {
    for (const auto& c : kCommands)
        if (c.name == command)
            return "usage: corvane-dix " + std::string(c.synopsis) + "\n\n" + Indent(c.help, "  ");
    return {};
}

int UsageError(std::string_view command) {
    const std::string usage = CommandUsage(command);
    std::cerr << usage.substr(0, usage.find('\n') + 1);
    return 2;
}

} // namespace corvane
