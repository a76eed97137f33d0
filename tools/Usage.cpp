#include "Usage.h"

#include <iostream>

namespace corvane {
namespace {

struct Entry {
    std::string_view name;
    std::string_view synopsis;
    // One paragraph, wrapped to the terminal's 80 columns when printed.
    std::string_view help;
    // The options the command knows; "=" at the end marks one that takes a value.
    std::string_view options;
    // The operands in order; "<" at the end: "-" reads standard input, ">": "-" writes
    // standard output, neither: "-" is refused (a file that is read and written back).
    std::string_view operands;
};

constexpr Entry kCommands[] = {
    {"dump", "dump FILE [--show-passwords]",
     "print the project as JSON (UTF-8), passwords as \"********\" unless shown", "--show-passwords",
     "FILE<"},
    {"build", "build JSON OUT [--if-changed]",
     "write a project file from JSON; missing keys take the values of a new project; "
     "with --if-changed an OUT that already holds these bytes is left untouched and "
     "\"unchanged\" is printed",
     "--if-changed", "JSON< OUT>"},
    {"check", "check FILE", "exit 0 for a well-formed project file, 1 with the reason otherwise", "",
     "FILE<"},
    {"new", "new OUT", "write the file of a new project", "", "OUT>"},
    {"diff", "diff A B [--json]",
     "one line per difference between two projects, each a project file or the JSON build "
     "reads; a password is only ever \"changed\"; --json prints a list; exit 0 when they "
     "are the same project, 1 when they differ, 2 when one cannot be read",
     "--json", "A< B<"},
    {"probe", "probe FILE [--host HOST] [--path PATH] [--strict] [--verbose]",
     "connect to the project's FTP servers (or the one named HOST) as the connection test "
     "does and list PATH (default \"/\"); exit 0 when all work; warnings (such as a passive "
     "address the server announces wrongly) on \"warning:\" lines, exit 1 for them with "
     "--strict; --verbose prints each session's transcript on standard error",
     "--host= --path= --strict --verbose", "FILE<"},
    {"sendtest", "sendtest FILE",
     "mail the test message with the project's mail account; prints OK or the reason it failed", "", "FILE<"},
    {"import", "import PROJECT SOURCE [--dry-run]",
     "add the plain-FTP sites of a FileZilla sitemanager.xml or a WinSCP.ini as connections; "
     "hosts the project has already are kept as they are; one line per site; --dry-run only "
     "reports; exit 1 when the project or the list cannot be read",
     "--dry-run", "PROJECT SOURCE<"},
    {"lint", "lint PROJECT",
     "one line per problem the service would trip over (code, record, what to do); exit 1 "
     "when there is any, 0 otherwise",
     "", "PROJECT<"},
    {"redact", "redact IN OUT",
     "write a copy of the project with every password emptied, for support tickets", "", "IN< OUT>"},
};

constexpr std::size_t kColumns = 80;

const Entry* Find(std::string_view command) {
    for (const auto& c : kCommands)
        if (c.name == command)
            return &c;
    return nullptr;
}

// `text` in lines of at most 80 columns, each starting with `indent`.
std::string Wrap(std::string_view text, std::string_view indent) {
    std::string out, line(indent);
    while (!text.empty()) {
        const auto space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (line.size() > indent.size() && line.size() + 1 + word.size() > kColumns) {
            out += line + "\n";
            line = indent;
        }
        line += (line.size() > indent.size() ? " " : "") + std::string(word);
    }
    return out + line + "\n";
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto space = text.find(' ');
        out.push_back(text.substr(0, space));
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    }
    return out;
}

// "=" for an option that takes a value, "" for one that does not, nothing when unknown.
std::optional<std::string_view> OptionKind(const Entry& entry, std::string_view option) {
    for (const auto word : Words(entry.options))
        if (word == option || (word.back() == '=' && word.substr(0, word.size() - 1) == option))
            return word.substr(option.size());
    return std::nullopt;
}

std::string Quote(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Places the operands, which are all in `out.args` in order; empty or the problem.
std::string PlaceOperands(const Entry& entry, const std::vector<std::size_t>& operandAt,
                          CommandArguments& out) {
    const auto operands = Words(entry.operands);
    const std::string prefix = std::string(entry.name) + ": ";
    if (operandAt.size() > operands.size())
        return prefix + "unexpected argument " + Quote(out.args[operandAt[operands.size()]]);
    if (operandAt.size() < operands.size()) {
        std::string_view missing = operands[operandAt.size()];
        return prefix + "missing " + std::string(missing.substr(0, missing.find_first_of("<>")));
    }
    bool stdinTaken = false;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        std::string& arg = out.args[operandAt[i]];
        if (arg != "-")
            continue;
        const char use = operands[i].back();
        const std::string_view name = operands[i].substr(0, operands[i].find_first_of("<>"));
        if (use != '<' && use != '>')
            return prefix + std::string(name) + " cannot be \"-\": the command writes it back";
        if (use == '<' && stdinTaken)
            return prefix + "only one argument can be \"-\" (standard input)";
        if (use == '<') {
            stdinTaken = true;
            arg = "/dev/stdin";
        }
    }
    return {};
}

} // namespace

std::string OverallUsage() {
    std::string out = "usage: corvane-dix COMMAND [ARGUMENT...]\n       corvane-dix --version\n"
                      "       corvane-dix COMMAND --help\n\n"
                      "\"-\" as a file reads standard input or writes standard output; \"--\" ends "
                      "the\noptions. Exit status 2 means bad usage.\n\n";
    for (const auto& c : kCommands)
        out += "  " + std::string(c.synopsis) + "\n" + Wrap(c.help, "      ");
    return out;
}

std::string CommandUsage(std::string_view command) {
    const Entry* entry = Find(command);
    if (!entry)
        return {};
    return "usage: corvane-dix " + std::string(entry->synopsis) + "\n\n" + Wrap(entry->help, "  ");
}

int UsageError(std::string_view command) {
    const std::string usage = CommandUsage(command);
    std::cerr << usage.substr(0, usage.find('\n') + 1) << "Try 'corvane-dix --help'\n";
    return 2;
}

int UsageProblem(std::string_view problem) {
    std::cerr << "corvane-dix: " << problem << "\nTry 'corvane-dix --help'\n";
    return 2;
}

std::optional<CommandArguments> ReadArguments(std::string_view command, const std::vector<std::string>& args,
                                              std::string& problem) {
    const Entry* entry = Find(command);
    if (!entry) {
        problem = "unknown command " + Quote(command);
        return std::nullopt;
    }
    CommandArguments out;
    std::vector<std::size_t> operandAt;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
            // A file name that looks like an option reaches the command as a path.
            out.args.push_back(a.size() > 1 && a[0] == '-' ? "./" + a : a);
            operandAt.push_back(out.args.size() - 1);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            out.help = true;
        } else if (const auto kind = OptionKind(*entry, a); !kind) {
            problem = std::string(command) + ": unknown option " + Quote(a);
            return std::nullopt;
        } else if (!kind->empty() && i + 1 == args.size()) {
            problem = std::string(command) + ": option " + Quote(a) + " needs a value";
            return std::nullopt;
        } else {
            out.args.push_back(a);
            if (!kind->empty())
                out.args.push_back(args[++i]);
        }
    }
    if (out.help)
        return out;
    problem = PlaceOperands(*entry, operandAt, out);
    if (!problem.empty())
        return std::nullopt;
    return out;
}

} // namespace corvane
