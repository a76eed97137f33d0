// corvane-dix: the project file from the command line, for operators and scripts on
// machines without a display (where the synchronisation service runs).
#include "ProbeCommand.h"
#include "SendTestCommand.h"
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"
#include "model/ProjectJson.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char* kUsage = R"(usage: corvane-dix COMMAND ...

  dump FILE [--show-passwords]   print the project as JSON (passwords as "********" unless shown)
  build JSON OUT                 write a project file from JSON ("-" reads standard input);
                                 missing keys take the values of a new project
  check FILE                     exit 0 for a well-formed project file, 1 with the reason otherwise
  new OUT                        write the file of a new project
  probe FILE [--host HOST] [--path PATH]
                                 connect to the project's FTP servers (or the one named HOST) as the
                                 connection test does and list PATH (default "/"); exit 0 when all work
  sendtest FILE                  mail the test message with the project's mail account;
                                 prints OK or the reason it failed
)";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    struct stat st {};
    if (!in || ::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        error = "cannot open " + path + ": " + std::strerror(S_ISDIR(st.st_mode) ? EISDIR : errno);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

// Loads a project without the program's open semantics (no reset on failure): the
// command reports precisely where the file stops making sense.
bool LoadProject(const std::string& path, CCorvaneDoc& doc, std::string& error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error))
        return false;
    try {
        CCorvaneDoc::LoadFromMemory(doc, bytes.data(), bytes.size());
    } catch (const CArchiveException& e) {
        error = path + ": unexpected file format: " + e.what() + " (byte offset " +
                std::to_string(e.GetOffset()) + ")";
        return false;
    }
    return true;
}

int Dump(const std::vector<std::string>& args) {
    bool show = false;
    std::string file;
    for (const auto& a : args) {
        if (a == "--show-passwords")
            show = true;
        else if (file.empty())
            file = a;
        else
            return Usage();
    }
    if (file.empty())
        return Usage();
    CCorvaneDoc doc;
    doc.OnNewDocument();
    std::string error;
    if (!LoadProject(file, doc, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return 1;
    }
    std::cout << corvane::ProjectToJson(doc, show).dump(2) << "\n";
    return 0;
}

int Check(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Usage();
    CCorvaneDoc doc;
    doc.OnNewDocument();
    std::string error;
    if (!LoadProject(args[0], doc, error)) {
        std::cout << error << "\n";
        return 1;
    }
    std::cout << args[0] << ": OK (" << doc.m_arrProfiles.size() << " profiles, "
              << doc.m_arrConnections.size() << " connections)\n";
    return 0;
}

int Save(CCorvaneDoc& doc, const std::string& out) {
    std::string error;
    if (!doc.OnSaveDocument(out, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return 1;
    }
    return 0;
}

int Build(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return Usage();
    std::string text;
    std::string error;
    if (args[0] == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else if (!ReadWholeFile(args[0], text, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return 1;
    }
    CCorvaneDoc doc;
    doc.OnNewDocument();
    try {
        corvane::ProjectFromJson(nlohmann::json::parse(text), doc);
    } catch (const nlohmann::json::parse_error& e) {
        std::cerr << "corvane-dix: " << args[0] << ": not valid JSON: " << e.what() << "\n";
        return 1;
    } catch (const corvane::JsonFormatError& e) {
        std::cerr << "corvane-dix: " << args[0] << ": " << e.what() << "\n";
        return 1;
    }
    return Save(doc, args[1]);
}

int New(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Usage();
    CCorvaneDoc doc;
    doc.OnNewDocument();
    return Save(doc, args[0]);
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
    {"probe",
     [](const std::vector<std::string>& args) {
         std::vector<std::string> copy = args;
         std::vector<char*> argv;
         for (auto& a : copy)
             argv.push_back(a.data());
         return RunProbeCommand(static_cast<int>(argv.size()), argv.data());
     }},
    {"sendtest",
     [](const std::vector<std::string>& args) {
         std::vector<std::string> copy = args;
         std::vector<char*> argv;
         for (auto& a : copy)
             argv.push_back(a.data());
         return RunSendTestCommand(static_cast<int>(argv.size()), argv.data());
     }},
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string name = argv[1];
    if (name == "-h" || name == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : kCommands)
        if (name == c.name)
            return c.run(args);
    std::cerr << "corvane-dix: unknown command \"" << name << "\"\n";
    return Usage();
}
