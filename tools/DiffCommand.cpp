#include "DiffCommand.h"

#include "ProjectDiff.h"
#include "ProjectFiles.h"
#include "Usage.h"
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"
#include "model/CappedFile.h"
#include "model/ProjectJson.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace {

bool LooksLikeJson(const std::string& bytes) {
    const auto first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string::npos && bytes[first] == '{';
}

// The profiles of JSON that name no state file: `build` gives each a fresh random name,
// so their names say nothing about a difference.
std::vector<std::size_t> ProfilesWithoutStateFile(const std::string& jsonText) {
    std::vector<std::size_t> out;
    const auto json = nlohmann::json::parse(jsonText, nullptr, false);
    if (!json.is_object() || !json.contains("profiles") || !json["profiles"].is_array())
        return out;
    for (std::size_t i = 0; i < json["profiles"].size(); ++i)
        if (json["profiles"][i].is_object() && !json["profiles"][i].contains("stateFile"))
            out.push_back(i);
    return out;
}

struct Side {
    CCorvaneDoc doc;
    std::vector<std::size_t> unnamedStateFiles;
};

// Each unnamed state file takes the name of the other side's profile at its place.
void PairStateFiles(Side& side, const Side& other) {
    for (const std::size_t i : side.unnamedStateFiles)
        if (i < other.doc.m_arrProfiles.size())
            side.doc.m_arrProfiles[i].m_strStateFile = other.doc.m_arrProfiles[i].m_strStateFile;
}

// A side of the comparison, recognised by its content: configuration management hands
// over JSON under any name, and a project file may be called anything too.
bool LoadSide(const std::string& path, Side& side) {
    CCorvaneDoc& doc = side.doc;
    std::string bytes, error;
    if (!corvane::ReadWholeFile(path, corvane::kMaxJsonBytes, bytes, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return false;
    }
    doc.OnNewDocument();
    if (LooksLikeJson(bytes)) {
        try {
            corvane::ProjectFromJsonText(bytes, doc);
            side.unnamedStateFiles = ProfilesWithoutStateFile(bytes);
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
    Side before, after;
    if (!LoadSide(files[0], before) || !LoadSide(files[1], after))
        return 2;
    PairStateFiles(before, after);
    PairStateFiles(after, before);
    const auto changes = corvane::DiffProjects(before.doc, after.doc);
    if (asJson) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& c : changes)
            list.push_back(c.ToJson());
        std::cout << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    } else {
        for (const auto& c : changes)
            std::cout << c.Line() << "\n";
    }
    return changes.empty() ? 0 : 1;
}
