#pragma once
// What differs between two projects, in the project's own terms, for operators and for
// configuration management: a secret is only ever reported as changed, never shown.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

class CCorvaneDoc;

namespace corvane {

struct ProjectChange {
    enum class Kind { added, removed, changed };

    // The record as the operator knows it, UTF-8: `connection "ftp.example.com"`,
    // `profile 3 "/srv/out"`, `proxy`, `reports.mail`; empty for the project itself.
    std::string record;
    // What changed in the record: `password`, `mask "*.bak"`, `port`; empty when the
    // record itself came or went.
    std::string field;
    Kind kind = Kind::changed;
    // The values before and after; null for a secret and for a list that changed.
    nlohmann::json from;
    nlohmann::json to;

    // One line for a terminal, control characters escaped:
    // `connection "ftp.example.com": password changed`, `interval: 15 -> 20`.
    std::string Line() const;
    // The same as an object: record, field, change ("added", "removed", "changed"),
    // from and to where the line shows them, and the line itself as "text".
    nlohmann::json ToJson() const;
};

// Every difference, in the order of the file: profiles (by position), connections (by
// host, wherever they moved), proxy, mail, reports, then the project's own values.
std::vector<ProjectChange> DiffProjects(const CCorvaneDoc& before, const CCorvaneDoc& after);

} // namespace corvane
