#include "ProjectDiff.h"

#include "model/CCorvaneDoc.h"
#include "model/ProjectJson.h"
#include "model/VisibleText.h"

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

using nlohmann::json;

namespace corvane {
namespace {

std::string Quoted(const std::string& utf8) {
    return "\"" + utf8 + "\"";
}

std::string Shown(const json& value) {
    return value.is_string() ? Quoted(value.get<std::string>()) : value.dump();
}

const char* KindName(ProjectChange::Kind kind) {
    switch (kind) {
    case ProjectChange::Kind::added:
        return "added";
    case ProjectChange::Kind::removed:
        return "removed";
    case ProjectChange::Kind::changed:
        break;
    }
    return "changed";
}

// Entries of two lists paired by a key: the n-th entry with key k before is the n-th
// entry with key k after, so a list may hold a key twice and entries may move.
struct KeyedPairs {
    std::vector<std::pair<const json*, const json*>> both;
    std::vector<const json*> removed;
    std::vector<const json*> added;
    bool reordered = false;
};

KeyedPairs PairByKey(const json& before, const json& after,
                     const std::function<std::string(const json&)>& key) {
    KeyedPairs out;
    std::map<std::string, std::vector<const json*>> waiting;
    for (const auto& e : after)
        waiting[key(e)].push_back(&e);
    std::map<const json*, const json*> partnerOf;
    for (const auto& e : before) {
        auto& candidates = waiting[key(e)];
        if (candidates.empty()) {
            out.removed.push_back(&e);
            continue;
        }
        out.both.emplace_back(&e, candidates.front());
        partnerOf[candidates.front()] = &e;
        candidates.erase(candidates.begin());
    }
    std::vector<const json*> pairedAfter;
    for (const auto& e : after) {
        if (partnerOf.count(&e))
            pairedAfter.push_back(&e);
        else
            out.added.push_back(&e);
    }
    for (std::size_t i = 0; i < pairedAfter.size(); ++i)
        out.reordered = out.reordered || out.both[i].second != pairedAfter[i];
    return out;
}

class Differ {
public:
    std::vector<ProjectChange> changes;

    void Add(const std::string& record, const std::string& field, ProjectChange::Kind kind, json from = {},
             json to = {}) {
        changes.push_back({record, field, kind, std::move(from), std::move(to)});
    }

    // One value of a record; objects below a record become records of their own
    // ("reports" holds "reports.mail").
    void Value(const std::string& record, const std::string& key, const json& a, const json& b) {
        if (a == b)
            return;
        if (key == "password")
            Add(record, key, ProjectChange::Kind::changed);
        else if (a.is_object() && b.is_object())
            Object(record.empty() ? key : record + "." + key, a, b);
        else if (a.is_array() || b.is_array())
            Add(record, key, ProjectChange::Kind::changed);
        else
            Add(record, key, ProjectChange::Kind::changed, a, b);
    }

    void Object(const std::string& record, const json& a, const json& b) {
        for (const auto& [key, value] : a.items()) {
            if (!b.contains(key))
                continue;
            if (key == "recipients")
                Texts(record, "recipient", value, b[key]);
            else
                Value(record, key, value, b[key]);
        }
    }

    void Texts(const std::string& record, const std::string& what, const json& a, const json& b) {
        const auto pairs = PairByKey(a, b, [](const json& e) { return e.get<std::string>(); });
        for (const json* e : pairs.removed)
            Add(record, what + " " + Quoted(e->get<std::string>()), ProjectChange::Kind::removed);
        for (const json* e : pairs.added)
            Add(record, what + " " + Quoted(e->get<std::string>()), ProjectChange::Kind::added);
        if (pairs.reordered)
            Add(record, what + "s order", ProjectChange::Kind::changed);
    }

    void Masks(const std::string& record, const std::string& what, const json& a, const json& b) {
        const auto pairs = PairByKey(a, b, [](const json& m) { return m["mask"].get<std::string>(); });
        for (const json* m : pairs.removed)
            Add(record, what + " " + Quoted((*m)["mask"].get<std::string>()), ProjectChange::Kind::removed);
        for (const json* m : pairs.added)
            Add(record, what + " " + Quoted((*m)["mask"].get<std::string>()), ProjectChange::Kind::added);
        for (const auto& [before, after] : pairs.both)
            for (const char* flag : {"upload", "download"})
                if ((*before)[flag] != (*after)[flag])
                    Add(record, what + " " + Quoted((*before)["mask"].get<std::string>()) + " " + flag,
                        ProjectChange::Kind::changed, (*before)[flag], (*after)[flag]);
        if (pairs.reordered)
            Add(record, what + "s order", ProjectChange::Kind::changed);
    }

    // Profiles have no name of their own: the n-th before is the n-th after, named by
    // its position (from 1, as the window lists them) and its local folder.
    void Profiles(const json& a, const json& b) {
        const auto name = [](std::size_t i, const json& p) {
            return "profile " + std::to_string(i + 1) + " " + Quoted(p["localFolder"].get<std::string>());
        };
        for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
            if (i >= b.size()) {
                Add(name(i, a[i]), "", ProjectChange::Kind::removed);
            } else if (i >= a.size()) {
                Add(name(i, b[i]), "", ProjectChange::Kind::added);
            } else {
                const std::string record = name(i, a[i]);
                for (const auto& [key, value] : a[i].items()) {
                    if (key == "masks" || key == "spareMasks")
                        Masks(record, key == "masks" ? "mask" : "spare mask", value, b[i][key]);
                    else
                        Value(record, key, value, b[i][key]);
                }
            }
        }
    }

    // Connections are named by their host, which is how profiles refer to them.
    void Connections(const json& a, const json& b) {
        const auto name = [](const json& c) { return "connection " + Quoted(c["host"].get<std::string>()); };
        const auto pairs = PairByKey(a, b, [](const json& c) { return c["host"].get<std::string>(); });
        for (const json* c : pairs.removed)
            Add(name(*c), "", ProjectChange::Kind::removed);
        for (const json* c : pairs.added)
            Add(name(*c), "", ProjectChange::Kind::added);
        for (const auto& [before, after] : pairs.both)
            Object(name(*before), *before, *after);
        if (pairs.reordered)
            Add("connections", "order", ProjectChange::Kind::changed);
    }
};

} // namespace

std::string ProjectChange::Line() const {
    std::string what;
    if (kind != Kind::changed || from.is_null())
        what = KindName(kind);
    else
        what = Shown(from) + " -> " + Shown(to);
    if (record.empty())
        return VisibleText(field + ": " + what);
    return VisibleText(record + ": " + (field.empty() ? what : field + " " + what));
}

json ProjectChange::ToJson() const {
    json out = {{"record", record}, {"field", field}, {"change", KindName(kind)}, {"text", Line()}};
    if (!from.is_null()) {
        out["from"] = from;
        out["to"] = to;
    }
    return out;
}

std::vector<ProjectChange> DiffProjects(const CCorvaneDoc& before, const CCorvaneDoc& after) {
    // Both sides with their passwords, so that a changed one is seen; only the word
    // "changed" ever leaves this function.
    const json a = ProjectToJson(before, true);
    const json b = ProjectToJson(after, true);
    Differ differ;
    differ.Profiles(a["profiles"], b["profiles"]);
    differ.Connections(a["connections"], b["connections"]);
    for (const char* key : {"proxy", "mail", "reports", "interval", "intervalConfirmed", "reserved"})
        differ.Value("", key, a[key], b[key]);
    return differ.changes;
}

} // namespace corvane
