#include "FileZillaSiteList.h"

#include "model/CappedFile.h"
#include "model/CodePage.h"

#include <expat.h>

#include <climits>
#include <map>
#include <memory>
#include <string>

namespace corvane {
namespace {

static_assert(kMaxSiteListBytes < INT_MAX, "the parser takes an int length");

// Protocol codes of the site manager: 0 tries TLS but falls back to plain FTP, 6 is
// plain FTP only; both reach a plain-FTP server as the service does.
std::string ProtocolSkipReason(std::string_view code) {
    static const std::map<std::string_view, std::string_view> kNames = {
        {"1", "SFTP"},
        {"2", "HTTP"},
        {"3", "FTPS (implicit TLS)"},
        {"4", "FTPES (explicit TLS)"},
        {"5", "HTTPS"},
        {"7", "Amazon S3"},
        {"8", "Storj"},
        {"9", "WebDAV"},
        {"10", "Azure Files"},
        {"11", "Azure Blob"},
        {"12", "Swift"},
        {"13", "Google Cloud"},
    };
    if (code.empty() || code == "0" || code == "6")
        return {};
    const auto it = kNames.find(code);
    return (it != kNames.end() ? std::string(it->second) : "protocol " + std::string(code)) +
           ", not plain FTP";
}

bool DecodeBase64(std::string_view in, std::string& out) {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.clear();
    std::uint32_t bits = 0;
    int count = 0, padding = 0;
    for (const char c : in) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const auto v = kAlphabet.find(c);
        if (v == std::string_view::npos || padding > 0)
            return false;
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        if (++count % 4 == 0) {
            out += static_cast<char>(bits >> 16);
            out += static_cast<char>(bits >> 8);
            out += static_cast<char>(bits);
            bits = 0;
        }
    }
    const int tail = count % 4;
    if (tail == 1 || padding > 2 || (padding > 0 && (tail + padding) % 4 != 0))
        return false;
    if (tail == 2)
        out += static_cast<char>(bits >> 4);
    if (tail == 3) {
        out += static_cast<char>(bits >> 10);
        out += static_cast<char>(bits >> 2);
    }
    return true;
}

class Reader {
public:
    explicit Reader(XML_Parser parser) : m_parser(parser) {}

    std::vector<SiteEntry> entries;
    std::string error;

    static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attrs) {
        static_cast<Reader*>(self)->OnStart(name, attrs);
    }
    static void XMLCALL End(void* self, const XML_Char*) { static_cast<Reader*>(self)->OnEnd(); }
    static void XMLCALL Text(void* self, const XML_Char* s, int len) {
        static_cast<Reader*>(self)->m_text.append(s, static_cast<std::size_t>(len));
    }
    // Entity declarations are the one way a small file becomes a huge one; the format has none.
    static void XMLCALL Doctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        auto* r = static_cast<Reader*>(self);
        r->Fail("document type declarations do not belong in a site list");
    }

    void Finish() {
        if (error.empty() && !m_sawServers)
            Fail("no <Servers> element");
    }

private:
    // What each open element is to the reader.
    enum class Role { root, servers, folder, server, field, ignored };

    struct Open {
        Role role;
        std::string name;
    };

    void Fail(std::string message) {
        if (error.empty())
            error = std::move(message);
        XML_StopParser(m_parser, XML_FALSE);
    }

    void OnStart(const std::string& name, const XML_Char** attrs) {
        const Role parent = m_stack.empty() ? Role::ignored : m_stack.back().role;
        // A folder's name is the text before its first child element.
        if (parent == Role::folder && !m_folderNamed.back()) {
            m_folders.back() = Trim(m_text);
            m_folderNamed.back() = true;
            m_folderPathBytes += m_folders.back().size() + 1;
        }
        m_text.clear();
        Role role = Role::ignored;
        if (m_stack.empty()) {
            if (name == "FileZilla3")
                role = Role::root;
            else
                Fail("an XML file, but its root is <" + name + ">, not <FileZilla3>");
        } else if (parent == Role::root && name == "Servers") {
            role = Role::servers;
            m_sawServers = true;
        } else if ((parent == Role::servers || parent == Role::folder) && name == "Folder") {
            role = Role::folder;
            m_folders.emplace_back();
            m_folderNamed.push_back(false);
        } else if ((parent == Role::servers || parent == Role::folder) && name == "Server") {
            role = Role::server;
            m_fields.clear();
            m_passEncoding.clear();
        } else if (parent == Role::server) {
            role = Role::field;
            if (name == "Pass") {
                m_passEncoding.clear();
                for (int i = 0; attrs[i]; i += 2)
                    if (std::string_view(attrs[i]) == "encoding")
                        m_passEncoding = attrs[i + 1];
            }
        }
        m_stack.push_back({role, name});
    }

    void OnEnd() {
        if (m_stack.empty() || !error.empty())
            return;
        const Open open = std::move(m_stack.back());
        m_stack.pop_back();
        switch (open.role) {
        case Role::field:
            m_fields[open.name] = m_text;
            break;
        case Role::server:
            if (!m_fields.count("Name"))
                m_fields["Name"] = Trim(m_text);
            AddServer();
            break;
        case Role::folder:
            if (m_folderNamed.back())
                m_folderPathBytes -= m_folders.back().size() + 1;
            m_folders.pop_back();
            m_folderNamed.pop_back();
            break;
        default:
            break;
        }
        m_text.clear();
    }

    void AddServer() {
        SiteEntry e;
        // Every site would otherwise carry a copy of a path as long as the file.
        const bool pathTooLong = m_folderPathBytes > kMaxSiteNameBytes;
        if (pathTooLong)
            e.name = ".../";
        else
            for (const auto& folder : m_folders)
                e.name += folder + "/";
        e.name += m_fields["Name"];
        e.host = Trim(m_fields["Host"]);
        e.user = m_fields["User"];
        e.anonymous = Trim(m_fields["Logontype"]) == "0";
        e.passive = Trim(m_fields["PasvMode"]) != "MODE_ACTIVE";
        const std::string port = Trim(m_fields["Port"]);
        const std::string protocolReason = ProtocolSkipReason(Trim(m_fields["Protocol"]));
        if (e.host.empty())
            e.skipReason = "no host";
        else if (pathTooLong)
            e.skipReason = "its folders' names together are longer than " +
                           std::to_string(kMaxSiteNameBytes) + " bytes, more than a site list holds";
        else if (!protocolReason.empty())
            e.skipReason = protocolReason;
        else if (!ParseSitePort(port, 21, e.port))
            e.skipReason = "port \"" + port + "\" is not a port number";
        else if (m_passEncoding == "base64" && !DecodeBase64(m_fields["Pass"], e.password))
            e.skipReason = "its password is not valid base64";
        else if (m_passEncoding == "crypt")
            e.skipReason = "its password is encrypted with a master password";
        else if (!m_passEncoding.empty() && m_passEncoding != "base64")
            e.skipReason = "its password has the unknown encoding \"" + m_passEncoding + "\"";
        else if (m_passEncoding.empty())
            e.password = m_fields["Pass"];
        entries.push_back(std::move(e));
    }

    XML_Parser m_parser;
    std::vector<Open> m_stack;
    std::vector<std::string> m_folders;
    std::vector<bool> m_folderNamed;
    std::map<std::string, std::string> m_fields;
    std::string m_passEncoding;
    std::string m_text;
    std::size_t m_folderPathBytes = 0;
    bool m_sawServers = false;
};

struct ParserFree {
    void operator()(XML_Parser p) const { XML_ParserFree(p); }
};

} // namespace

std::vector<SiteEntry> ReadFileZillaSites(std::string_view xml) {
    if (xml.size() > kMaxSiteListBytes)
        throw SiteListError("larger than " + DescribeCap(kMaxSiteListBytes) +
                            ", more than a site list holds");
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(nullptr));
    if (!parser)
        throw SiteListError("out of memory");
    Reader reader(parser.get());
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), Reader::Start, Reader::End);
    XML_SetCharacterDataHandler(parser.get(), Reader::Text);
    XML_SetStartDoctypeDeclHandler(parser.get(), Reader::Doctype);
    const bool parsed =
        XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
    const std::string where = "line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": ";
    if (!reader.error.empty())
        throw SiteListError(where + reader.error);
    if (!parsed)
        throw SiteListError(where + XML_ErrorString(XML_GetErrorCode(parser.get())));
    reader.Finish();
    if (!reader.error.empty())
        throw SiteListError(reader.error);
    return std::move(reader.entries);
}

} // namespace corvane
