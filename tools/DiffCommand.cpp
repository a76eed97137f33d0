#include "DiffCommand.h"

#include "ProjectDiff.h"
#include "ProjectFiles.h"
#include "Usage.h"
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"
#include "model/ProjectJson.h"

#include <iostream>

namespace {

bool LooksLikeJson(const std::string& bytes) {
    const auto first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string::npos && bytes[first] == '{';
}

// A side of the comparison, recognised by its content: configuration management hands
// over JSON under any name, and a project file may be called anything too.
bool LoadSide(const std::string& path, CCorvaneDoc& doc) {
    std::string bytes, error;
    if (!corvane::ReadWholeFile(path, bytes, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return false;
    }
    doc.OnNewDocument();
    if (LooksLikeJson(bytes)) {
        try {
            corvane::ProjectFromJsonText(bytes, doc);
            return true;
        } catch (const corvane::JsonFormatError& e) {
            error = path + ": " + e.what();
        }
        // A project with 123 profiles starts with '{' too.
        doc.OnNewDocument();
    }
    try {
        CCorvaneDoc::LoadFromMemory(doc, bytes.data(), bytes.size());
        return true;
    } catch (const CArchiveException& e) {
        if (error.empty())
            error = path + ": unexpected file format: " + e.what() + " (byte offset " +
                    std::to_string(e.GetOffset()) + ")";
    }
    std::cerr << "corvane-dix: " << error << "\n";
    return false;
}

} // namespace

int RunDiffCommand(const std::vector<std::string>& args) {
    bool asJson = false;
    std::vector<std::string> files;
    for (const auto& a : args) {
        if (a == "--json")
            asJson = true;
        else
            files.push_back(a);
    }
    if (files.size() != 2)
        return corvane::UsageError("diff");
    CCorvaneDoc before, after;
    if (!LoadSide(files[0], before) || !LoadSide(files[1], after))
        return 2;
    const auto changes = corvane::DiffProjects(before, after);
    if (asJson) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& c : changes)
            list.push_back(c.ToJson());
        std::cout << list.dump(2) << "\n";
    } else {
        for (const auto& c : changes)
            std::cout << c.Line() << "\n";
    }
    return changes.empty() ? 0 : 1;
}
