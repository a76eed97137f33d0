#include "model/JsonText.h"

#include "model/ProjectJson.h"
#include "model/VisibleText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using nlohmann::json;

namespace corvane {
namespace {

// Follows the parser's events to know the key path it is at.
class KeyPathTracker {
public:
    bool OnEvent(json::parse_event_t event, const json& parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            if (!m_levels.empty() && m_levels.back().array)
                ++m_levels.back().count;
            m_levels.emplace_back().array = event == json::parse_event_t::array_start;
            break;
        case json::parse_event_t::key:
            m_levels.back().key = parsed.get<std::string>();
            m_levels.back().inValue = true;
            if (!m_levels.back().keys.insert(m_levels.back().key).second)
                throw JsonFormatError(Path(false) + ": duplicate key");
            break;
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            m_levels.pop_back();
            [[fallthrough]];
        case json::parse_event_t::value:
            if (!m_levels.empty())
                EndValue(m_levels.back(), event == json::parse_event_t::value);
            break;
        }
        return true;
    }

    // Where the parser is; `failed` when it stopped in the middle of an array's next entry.
    std::string Path(bool failed) const {
        std::string path;
        for (std::size_t i = 0; i < m_levels.size(); ++i) {
            const Level& level = m_levels[i];
            if (level.array) {
                // An object or array entry is counted as it starts, any other as it ends.
                const bool next = failed && i + 1 == m_levels.size();
                path += "[" + std::to_string(next ? level.count : level.count - 1) + "]";
            } else if (level.inValue) {
                path += (path.empty() ? "" : ".") + VisibleText(level.key);
            }
        }
        return path;
    }

private:
    struct Level {
        bool array = false;
        std::size_t count = 0;
        std::string key;
        bool inValue = false;
        std::set<std::string> keys;
    };

    static void EndValue(Level& level, bool plainValue) {
        if (!level.array)
            level.inValue = false;
        else if (plainValue)
            ++level.count;
    }

    std::vector<Level> m_levels;
};

std::string Position(std::string_view text, std::size_t byte) {
    // `byte` counts from 1 and may be one past the end.
    const std::size_t at = std::min(byte == 0 ? 0 : byte - 1, text.size());
    const std::string_view before = text.substr(0, at);
    const auto line = 1 + std::count(before.begin(), before.end(), '\n');
    const auto lineStart = before.rfind('\n');
    const std::size_t column = at - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The parser's reason without what it quotes from the input ("last read: ...").
std::string Reason(const std::string& what) {
    const auto column = what.find(", column ");
    const auto start = column == std::string::npos ? column : what.find(": ", column);
    if (start == std::string::npos)
        return "syntax error";
    std::string reason = what.substr(start + 2);
    const auto quoted = reason.find("; last read:");
    if (quoted != std::string::npos)
        reason.resize(quoted);
    return reason;
}

std::string Where(const std::string& path) {
    return path.empty() ? std::string() : path + ": ";
}

} // namespace

json ParseJsonText(std::string_view text) {
    KeyPathTracker tracker;
    try {
        return json::parse(text, [&tracker](int, json::parse_event_t event, json& parsed) {
            return tracker.OnEvent(event, parsed);
        });
    } catch (const json::parse_error& e) {
        throw JsonFormatError(Where(tracker.Path(true)) + "not valid JSON at " + Position(text, e.byte) +
                              ": " + Reason(e.what()));
    } catch (const json::exception&) {
        // Only a number no double holds gets here; the parser names no position for it.
        throw JsonFormatError(Where(tracker.Path(true)) + "not valid JSON: a number out of range");
    }
}

} // namespace corvane
