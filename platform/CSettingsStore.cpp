#include "platform/CSettingsStore.h"

#include "model/AsciiCase.h"
#include "model/CSafeFileWriter.h"
#include "platform/CFileLock.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Far beyond any real settings file; anything bigger is not ours to rewrite.
constexpr std::size_t kMaxFileSize = 1 << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Names keep letters, digits, bytes of multi-byte characters and a few safe marks;
// anything else is escaped with a backslash, as the file has always had it.
std::string EscapeName(const std::string& name) {
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80 && !corvane::IsAsciiAlnum(c) && !std::strchr("@_/-!.*%()", c))
            out += '\\';
        out += c;
    }
    return out;
}

std::string UnescapeName(std::string_view raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && ++i == raw.size())
            break;
        out += raw[i];
    }
    return out;
}

// Values are quoted when they start with a blank or a quote (or the blanks would be
// lost); line breaks, tabs and backslashes are escaped, and quotes inside quotes.
std::string EscapeValue(const std::string& value) {
    const bool quoted = !value.empty() && (IsBlank(value[0]) || value[0] == '\n' || value[0] == '"');
    std::string out = quoted ? "\"" : "";
    for (const char c : value) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += quoted ? "\\\"" : "\"";
            break;
        default:
            out += c;
        }
    }
    return quoted ? out + "\"" : out;
}

std::string UnescapeValue(std::string_view raw) {
    const bool quoted = !raw.empty() && raw[0] == '"';
    std::string out;
    for (std::size_t i = quoted ? 1 : 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\') {
            if (++i == raw.size())
                break;
            switch (raw[i]) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '\\':
            case '"':
                out += raw[i];
                break;
            default:
                break;
            }
        } else if (c != '"' || !quoted) {
            out += c;
        }
    }
    return out;
}

// The file as lines, each remembered as written; group headers and entries are
// understood, every other line is carried along untouched.
class CIniText {
public:
    explicit CIniText(std::string_view text) {
        std::string group;
        while (!text.empty()) {
            const auto end = text.find('\n');
            Line line{std::string(text.substr(0, end)), {}, {}, false, {}, false};
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            Parse(line, group);
            m_lines.push_back(std::move(line));
        }
    }

    std::optional<std::string> Get(const std::string& section, const std::string& key) const {
        // A key written twice counts with its last line, as it always has.
        for (auto it = m_lines.rbegin(); it != m_lines.rend(); ++it)
            if (it->entry && it->group == section && it->key == key)
                return UnescapeValue(it->rawValue);
        return std::nullopt;
    }

    void Set(const std::string& section, const std::string& key, const std::string& value) {
        const std::string escaped = EscapeValue(value);
        Line line{EscapeName(key) + "=" + escaped, section, key, true, escaped, false};
        std::optional<std::size_t> lastOfGroup;
        for (std::size_t i = m_lines.size(); i-- > 0;) {
            const Line& old = m_lines[i];
            if (old.group != section)
                continue;
            if (old.entry && old.key == key) {
                m_lines[i] = std::move(line);
                return;
            }
            if (!lastOfGroup && (old.entry || old.header))
                lastOfGroup = i;
        }
        if (lastOfGroup) {
            m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*lastOfGroup + 1), std::move(line));
            return;
        }
        m_lines.push_back({"[" + EscapeName(section) + "]", section, {}, false, {}, true});
        m_lines.push_back(std::move(line));
    }

    std::string Text() const {
        std::string text;
        for (const Line& line : m_lines)
            text += line.text + "\n";
        return text;
    }

private:
    struct Line {
        std::string text;
        std::string group;
        std::string key;
        bool entry = false;
        std::string rawValue;
        bool header = false;
    };

    static void Parse(Line& line, std::string& group) {
        std::string_view rest(line.text);
        // A byte-order mark would otherwise hide the first group.
        if (rest.starts_with("\xEF\xBB\xBF"))
            rest.remove_prefix(3);
        while (!rest.empty() && IsBlank(rest.front()))
            rest.remove_prefix(1);
        line.group = group;
        if (rest.empty() || rest[0] == ';' || rest[0] == '#')
            return;
        if (rest[0] == '[') {
            std::size_t i = 1;
            while (i < rest.size() && rest[i] != ']')
                i += rest[i] == '\\' ? 2 : 1;
            if (i >= rest.size())
                return;
            group = line.group = UnescapeName(rest.substr(1, i - 1));
            line.header = true;
            return;
        }
        std::size_t i = 0;
        while (i < rest.size() && rest[i] != '=')
            i += rest[i] == '\\' ? 2 : 1;
        if (i >= rest.size())
            return;
        std::string_view name = rest.substr(0, i);
        while (!name.empty() && IsBlank(name.back()))
            name.remove_suffix(1);
        std::string_view value = rest.substr(i + 1);
        while (!value.empty() && IsBlank(value.front()))
            value.remove_prefix(1);
        if (!value.empty() && value.back() == '\r')
            value.remove_suffix(1);
        line.key = UnescapeName(name);
        line.entry = !line.key.empty();
        line.rawValue = std::string(value);
    }

    std::vector<Line> m_lines;
};

enum class ReadResult { ok, missing, unreadable };

ReadResult ReadFile(const std::string& path, std::string& text) {
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::missing : ReadResult::unreadable;
    char buffer[8192];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() <= kMaxFileSize)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return n < 0 || text.size() > kMaxFileSize ? ReadResult::unreadable : ReadResult::ok;
}

// The parent folders, private to the user as the file is.
bool MakeParentDirs(const std::string& path) {
    for (auto slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string dir = path.substr(0, slash);
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

} // namespace

std::string CSettingsStore::DefaultPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    return base + "/Halden/Corvane.conf";
}

CSettingsStore::CSettingsStore(const std::string& path, std::chrono::milliseconds lockWait)
    : m_strPath(path.empty() ? DefaultPath() : path), m_lockWait(lockWait) {}

std::string CSettingsStore::GetProfileString(const std::string& section, const std::string& entry,
                                             const std::string& defaultValue) const {
    std::string text;
    if (ReadFile(m_strPath, text) != ReadResult::ok)
        return defaultValue;
    return CIniText(text).Get(section, entry).value_or(defaultValue);
}

bool CSettingsStore::WriteProfileString(const std::string& section, const std::string& entry,
                                        const std::string& value) {
    if (section.empty() || entry.empty() || !MakeParentDirs(m_strPath))
        return false;
    const CFileLock lock(m_strPath + ".lock", m_lockWait);
    if (!lock.IsLocked())
        return false;
    // What another window wrote since this one last looked must survive.
    std::string text;
    if (ReadFile(m_strPath, text) == ReadResult::unreadable)
        return false;
    CIniText ini(text);
    if (ini.Get(section, entry) == value)
        return true;
    ini.Set(section, entry, value);
    text = ini.Text();
    return CSafeFileWriter::Write(m_strPath,
                                  [&text](std::FILE* f) {
                                      if (std::fwrite(text.data(), 1, text.size(), f) != text.size())
                                          throw std::runtime_error(std::strerror(errno));
                                  })
        .empty();
}

int CSettingsStore::GetProfileInt(const std::string& section, const std::string& entry,
                                  int defaultValue) const {
    std::string text = GetProfileString(section, entry);
    std::string_view digits(text);
    while (!digits.empty() && IsBlank(digits.front()))
        digits.remove_prefix(1);
    while (!digits.empty() && IsBlank(digits.back()))
        digits.remove_suffix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return ec == std::errc() && end == digits.data() + digits.size() && !digits.empty() ? value
                                                                                        : defaultValue;
}

bool CSettingsStore::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    return WriteProfileString(section, entry, std::to_string(value));
}
