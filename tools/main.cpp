// corvane-dix: the project file from the command line, for operators and scripts on
// machines without a display (where the synchronisation service runs).
#include "DiffCommand.h"
#include "ImportCommand.h"
#include "LintCommand.h"
#include "ProbeCommand.h"
#include "ProjectFiles.h"
#include "RedactCommand.h"
#include "SendTestCommand.h"
#include "Usage.h"
#include "model/CCorvaneDoc.h"
#include "model/CappedFile.h"
#include "model/ProjectJson.h"
#include "model/ProjectJsonStream.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

using corvane::LoadProject;
using corvane::ReadWholeFile;

int Dump(const std::vector<std::string>& args) {
    bool show = false;
    std::string file;
    for (const auto& a : args) {
        if (a == "--show-passwords")
            show = true;
        else if (file.empty())
            file = a;
        else
            return corvane::UsageError("dump");
    }
    if (file.empty())
        return corvane::UsageError("dump");
    CCorvaneDoc doc;
    if (!corvane::LoadProjectOrReport(file, doc))
        return 1;
    corvane::WriteProjectJson(std::cout, doc, show);
    std::cout << "\n";
    return 0;
}

int Check(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return corvane::UsageError("check");
    CCorvaneDoc doc;
    doc.OnNewDocument();
    std::string error;
    if (!LoadProject(args[0], doc, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return 1;
    }
    std::error_code ec;
    if (const std::string extra =
            corvane::DescribeTrailingBytes(doc, std::filesystem::file_size(args[0], ec));
        !extra.empty()) {
        std::cerr << "corvane-dix: " << args[0] << ": " << extra << "; the program ignores them\n";
        return 1;
    }
    std::cout << args[0] << ": OK (" << doc.m_arrProfiles.size() << " profiles, "
              << doc.m_arrConnections.size() << " connections)\n";
    return 0;
}

// The project the JSON at `path` describes; false after telling the operator why there is none.
bool ProjectFromJsonFile(const std::string& path, CCorvaneDoc& doc) {
    std::string text;
    std::string error;
    if (!ReadWholeFile(path, corvane::kMaxJsonBytes, text, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return false;
    }
    doc.OnNewDocument();
    try {
        corvane::ProjectFromJsonText(text, doc);
    } catch (const corvane::JsonFormatError& e) {
        std::cerr << "corvane-dix: " << path << ": " << e.what() << "\n";
        return false;
    }
    return true;
}

int Build(const std::vector<std::string>& args) {
    const bool ifChanged = std::find(args.begin(), args.end(), "--if-changed") != args.end();
    std::vector<std::string> files;
    std::copy_if(args.begin(), args.end(), std::back_inserter(files),
                 [](const std::string& a) { return a != "--if-changed"; });
    if (files.size() != 2)
        return corvane::UsageError("build");
    CCorvaneDoc doc;
    if (!ProjectFromJsonFile(files[0], doc))
        return 1;
    // Configuration management runs this on every pass: a file that already holds these
    // bytes keeps its time stamp, so nothing downstream sees a change that is none.
    std::string existing, ignored;
    if (ifChanged && files[1] != "-" &&
        ReadWholeFile(files[1], corvane::kMaxProjectBytes, existing, ignored) &&
        existing == doc.SaveToMemory()) {
        std::cout << "unchanged\n";
        return 0;
    }
    return corvane::SaveProject(doc, files[1]);
}

int New(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return corvane::UsageError("new");
    CCorvaneDoc doc;
    doc.OnNewDocument();
    return corvane::SaveProject(doc, args[0]);
}

// The network commands read their operands as a C argument vector.
template <int (*Run)(int, char**)> int WithArgv(const std::vector<std::string>& args) {
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (auto& a : copy)
        argv.push_back(a.data());
    return Run(static_cast<int>(argv.size()), argv.data());
}

struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>&);
};

const Command kCommands[] = {
    {"dump", Dump},
    {"build", Build},
    {"check", Check},
    {"new", New},
    {"diff", RunDiffCommand},
    {"probe", WithArgv<RunProbeCommand>},
    {"sendtest", WithArgv<RunSendTestCommand>},
    {"import", RunImportCommand},
    {"lint", RunLintCommand},
    {"redact", RunRedactCommand},
};

int RunCommandLine(int argc, char** argv) {
    if (argc < 2)
        return corvane::UsageProblem("missing command");
    const std::string name = argv[1];
    if (name == "-h" || name == "--help") {
        std::fputs(corvane::OverallUsage().c_str(), stdout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "corvane-dix " CORVANE_VERSION "\n";
        return 0;
    }
    if (!name.empty() && name[0] == '-')
        return corvane::UsageProblem("unknown option \"" + name + "\"");
    std::string problem;
    const auto read = corvane::ReadArguments(name, std::vector<std::string>(argv + 2, argv + argc), problem);
    if (!read)
        return corvane::UsageProblem(problem);
    if (read->help) {
        std::cout << corvane::CommandUsage(name);
        return 0;
    }
    for (const auto& c : kCommands)
        if (name == c.name)
            return c.run(read->args);
    return corvane::UsageProblem("unknown command \"" + name + "\"");
}

// Whatever the command, a result that did not reach standard output entirely is a failure,
// and running out of memory is reported like any other failure.
int FinishOutput(int status) {
    errno = 0;
    std::cout.flush();
    if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout.good())
        return status;
    const int err = errno;
    std::cerr << "corvane-dix: cannot write to standard output"
              << (err ? std::string(": ") + std::strerror(err) : std::string()) << "\n";
    return status == 0 ? 1 : status;
}

} // namespace

int main(int argc, char** argv) {
    int status = 1;
    try {
        status = RunCommandLine(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "corvane-dix: not enough memory for this input\n";
        status = 1;
    }
    return FinishOutput(status);
}
