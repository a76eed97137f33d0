#include "model/ProjectJsonStream.h"

#include "model/CCorvaneDoc.h"
#include "model/ProjectJson.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <ostream>
#include <string>

using nlohmann::json;

namespace corvane {
namespace {

constexpr int kIndent = 2;

// The long lists of a project, taken out of it while the rest becomes a small tree.
struct TakenLists {
    std::vector<CFolderProfile> profiles;
    std::vector<CConnectionInfo> connections;
    std::vector<std::string> recipients;

    explicit TakenLists(CCorvaneDoc& doc)
        : profiles(std::move(doc.m_arrProfiles)), connections(std::move(doc.m_arrConnections)),
          recipients(std::move(doc.m_mail.m_arrRecipients)) {
        doc.m_arrProfiles.clear();
        doc.m_arrConnections.clear();
        doc.m_mail.m_arrRecipients.clear();
    }
};

// One list element's JSON, made by the one writer from a project holding just that element.
using ElementWriter = std::function<json(std::size_t)>;

struct StreamedList {
    const char* path;
    std::size_t size;
    ElementWriter element;
};

class Writer {
public:
    Writer(std::ostream& out, std::vector<StreamedList> lists) : m_out(out), m_lists(std::move(lists)) {}

    // As json::dump(2) writes `value` at nesting `level`, the lent lists put in their place.
    void Value(const json& value, int level, const std::string& path) {
        if (const StreamedList* list = Find(path))
            return List(*list, level);
        if (!value.is_object() || value.empty() || !Contains(path)) {
            m_out << Reindent(value.dump(kIndent), level);
            return;
        }
        m_out << "{\n";
        std::size_t left = value.size();
        for (const auto& [key, item] : value.items()) {
            m_out << Spaces(level + 1) << json(key).dump() << ": ";
            Value(item, level + 1, path.empty() ? key : path + "." + key);
            m_out << (--left ? ",\n" : "\n");
        }
        m_out << Spaces(level) << "}";
    }

private:
    static std::string Spaces(int level) {
        return std::string(static_cast<std::size_t>(level * kIndent), ' ');
    }

    static std::string Reindent(std::string text, int level) {
        if (level == 0)
            return text;
        // Strings in dumped JSON never hold a raw line break: every one is the layout's.
        const std::string spaces = Spaces(level);
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
            text.insert(at + 1, spaces);
        return text;
    }

    const StreamedList* Find(const std::string& path) const {
        for (const auto& l : m_lists)
            if (path == l.path)
                return &l;
        return nullptr;
    }

    // Whether a lent list lies below `path`.
    bool Contains(const std::string& path) const {
        for (const auto& l : m_lists)
            if (path.empty() || std::string(l.path).rfind(path + ".", 0) == 0)
                return true;
        return false;
    }

    void List(const StreamedList& list, int level) {
        if (list.size == 0) {
            m_out << "[]";
            return;
        }
        m_out << "[\n";
        for (std::size_t i = 0; i < list.size; ++i)
            m_out << Spaces(level + 1) << Reindent(list.element(i).dump(kIndent), level + 1)
                  << (i + 1 < list.size ? ",\n" : "\n");
        m_out << Spaces(level) << "]";
    }

    std::ostream& m_out;
    std::vector<StreamedList> m_lists;
};

} // namespace

void WriteProjectJson(std::ostream& out, CCorvaneDoc& doc, bool showPasswords) {
    TakenLists taken(doc);
    const json top = ProjectToJson(doc, showPasswords);
    CCorvaneDoc one;
    // Moves element `i` of `list` into `one`'s list of the same kind for one conversion:
    // moving constructs (assigning would leave out the record's reserved numbers).
    const auto through = [&](auto& list, auto& slot, std::size_t i, const char* key, const char* inner) {
        slot.clear();
        slot.push_back(std::move(list[i]));
        json all = ProjectToJson(one, showPasswords);
        return std::move(inner ? all[key][inner][0] : all[key][0]);
    };
    Writer writer(
        out, {
                 {"profiles", taken.profiles.size(),
                  [&](std::size_t i) {
                      return through(taken.profiles, one.m_arrProfiles, i, "profiles", nullptr);
                  }},
                 {"connections", taken.connections.size(),
                  [&](std::size_t i) {
                      return through(taken.connections, one.m_arrConnections, i, "connections", nullptr);
                  }},
                 {"mail.recipients", taken.recipients.size(),
                  [&](std::size_t i) {
                      return through(taken.recipients, one.m_mail.m_arrRecipients, i, "mail", "recipients");
                  }},
             });
    writer.Value(top, 0, "");
}

} // namespace corvane
