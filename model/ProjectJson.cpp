#include "model/ProjectJson.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/SecretText.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <limits>
#include <map>
#include <optional>

using nlohmann::json;

namespace corvane {
namespace {

json Text(const std::string& cp1252) {
    return Cp1252ToUtf8(cp1252);
}

json Password(const std::string& cp1252, bool show) {
    // Masked as every command masks a password: an empty one stays empty.
    return show ? Text(cp1252) : json(MaskSecret(cp1252));
}

json Reserved(const std::vector<std::uint32_t>& list) {
    return json(list);
}

json MaskList(const std::vector<CFileMask>& masks) {
    json out = json::array();
    for (const auto& m : masks)
        out.push_back({{"mask", Text(m.m_strMask)}, {"upload", m.m_bUpload}, {"download", m.m_bDownload}});
    return out;
}

json TextValues(const std::vector<CTextValueEntry>& list) {
    json out = json::array();
    for (const auto& e : list)
        out.push_back({{"text", Text(e.m_strText)}, {"value1", e.m_dwValue1}, {"value2", e.m_dwValue2}});
    return out;
}

// Reading: every object is walked through a table of its known keys, so an unknown
// key is an error rather than silently dropped data.
class Reader {
public:
    explicit Reader(std::string path) : m_path(std::move(path)) {}

    using Handler = std::function<void(const json&, const std::string&)>;

    static void Object(const json& j, const std::string& path, const std::map<std::string, Handler>& keys) {
        if (!j.is_object())
            throw JsonFormatError(path + ": expected an object");
        for (const auto& [key, value] : j.items()) {
            const auto it = keys.find(key);
            const std::string sub = path.empty() ? key : path + "." + key;
            if (it == keys.end())
                throw JsonFormatError(sub + ": unknown key");
            it->second(value, sub);
        }
    }

    static void Array(const json& j, const std::string& path,
                      const std::function<void(const json&, const std::string&)>& each) {
        if (!j.is_array())
            throw JsonFormatError(path + ": expected an array");
        for (std::size_t i = 0; i < j.size(); ++i)
            each(j[i], path + "[" + std::to_string(i) + "]");
    }

private:
    std::string m_path;
};

void Get(const json& j, const std::string& path, std::string& out) {
    if (!j.is_string())
        throw JsonFormatError(path + ": expected a string");
    out = Utf8ToCp1252(j.get_ref<const std::string&>());
}

void Get(const json& j, const std::string& path, bool& out) {
    if (!j.is_boolean())
        throw JsonFormatError(path + ": expected true or false");
    out = j.get<bool>();
}

// An integer as a signed 64-bit value; nothing for a number beyond that, which read
// as signed would wrap (2^64 - 1 into -1).
std::optional<std::int64_t> Integer(const json& j) {
    if (j.is_number_unsigned()) {
        const auto u = j.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return static_cast<std::int64_t>(u);
    }
    if (j.is_number_integer())
        return j.get<std::int64_t>();
    return std::nullopt;
}

void Get(const json& j, const std::string& path, std::int32_t& out) {
    if (!j.is_number_integer())
        throw JsonFormatError(path + ": expected an integer");
    const auto v = Integer(j);
    if (!v || *v < std::numeric_limits<std::int32_t>::min() || *v > std::numeric_limits<std::int32_t>::max())
        throw JsonFormatError(path + ": out of the 32-bit signed range");
    out = static_cast<std::int32_t>(*v);
}

void Get(const json& j, const std::string& path, std::uint32_t& out) {
    const auto v = Integer(j);
    if (!v || *v < 0 || *v > std::numeric_limits<std::uint32_t>::max())
        throw JsonFormatError(path + ": expected an unsigned 32-bit integer");
    out = static_cast<std::uint32_t>(*v);
}

void GetReserved(const json& j, const std::string& path, std::vector<std::uint32_t>& out) {
    out.clear();
    Reader::Array(j, path, [&](const json& e, const std::string& p) { Get(e, p, out.emplace_back()); });
}

template <class T> Reader::Handler Field(T& target) {
    return [&target](const json& j, const std::string& p) { Get(j, p, target); };
}

void GetMasks(const json& j, const std::string& path, std::vector<CFileMask>& out) {
    out.clear();
    Reader::Array(j, path, [&](const json& e, const std::string& p) {
        auto& m = out.emplace_back();
        Reader::Object(e, p,
                       {{"mask", Field(m.m_strMask)},
                        {"upload", Field(m.m_bUpload)},
                        {"download", Field(m.m_bDownload)}});
    });
}

void GetTextValues(const json& j, const std::string& path, std::vector<CTextValueEntry>& out) {
    out.clear();
    Reader::Array(j, path, [&](const json& e, const std::string& p) {
        auto& t = out.emplace_back();
        Reader::Object(
            e, p,
            {{"text", Field(t.m_strText)}, {"value1", Field(t.m_dwValue1)}, {"value2", Field(t.m_dwValue2)}});
    });
}

void GetProfile(const json& j, const std::string& path, CFolderProfile& p) {
    Reader::Object(
        j, path,
        {{"connectionIndex", Field(p.m_nConnection)},
         {"connection", Field(p.m_strConnection)},
         {"localFolder", Field(p.m_strLocalFolder)},
         {"ftpFolder", Field(p.m_strFtpFolder)},
         {"stateFile", Field(p.m_strStateFile)},
         {"upload", Field(p.m_bUpload)},
         {"download", Field(p.m_bDownload)},
         {"enabled", Field(p.m_bEnabled)},
         {"useMasks", Field(p.m_bUseMasks)},
         {"deleteObsolete", Field(p.m_bDeleteObsolete)},
         {"subfolders", Field(p.m_bSubfolders)},
         {"conflict", Field(p.m_nConflict)},
         {"spareMasks", [&](const json& v, const std::string& s) { GetMasks(v, s, p.m_arrSpareMasks); }},
         {"masks", [&](const json& v, const std::string& s) { GetMasks(v, s, p.m_arrMasks); }},
         {"textValues1",
          [&](const json& v, const std::string& s) { GetTextValues(v, s, p.m_arrTextValues1); }},
         {"textValues2",
          [&](const json& v, const std::string& s) { GetTextValues(v, s, p.m_arrTextValues2); }},
         {"reserved", [&](const json& v, const std::string& s) { GetReserved(v, s, p.m_arrReserved); }}});
}

void GetConnection(const json& j, const std::string& path, CConnectionInfo& c) {
    Reader::Object(
        j, path,
        {{"host", Field(c.m_strHost)},
         {"port", Field(c.m_nPort)},
         {"user", Field(c.m_strUser)},
         {"password", Field(c.m_strPassword)},
         {"useProxy", Field(c.m_bUseProxy)},
         {"passive", Field(c.m_bPassive)},
         {"showPassword", Field(c.m_bShowPassword)},
         {"testPassed", Field(c.m_bTestPassed)},
         {"useWinInet", Field(c.m_bUseWinInet)},
         {"spare", Field(c.m_bSpare)},
         {"reserved", [&](const json& v, const std::string& s) { GetReserved(v, s, c.m_arrReserved); }}});
}

} // namespace

json ProjectToJson(const CCorvaneDoc& doc, bool showPasswords) {
    json profiles = json::array();
    for (const auto& p : doc.m_arrProfiles) {
        profiles.push_back({{"connectionIndex", p.m_nConnection},
                            {"connection", Text(p.m_strConnection)},
                            {"localFolder", Text(p.m_strLocalFolder)},
                            {"ftpFolder", Text(p.m_strFtpFolder)},
                            {"stateFile", Text(p.m_strStateFile)},
                            {"upload", p.m_bUpload},
                            {"download", p.m_bDownload},
                            {"enabled", p.m_bEnabled},
                            {"useMasks", p.m_bUseMasks},
                            {"deleteObsolete", p.m_bDeleteObsolete},
                            {"subfolders", p.m_bSubfolders},
                            {"conflict", p.m_nConflict},
                            {"spareMasks", MaskList(p.m_arrSpareMasks)},
                            {"masks", MaskList(p.m_arrMasks)},
                            {"textValues1", TextValues(p.m_arrTextValues1)},
                            {"textValues2", TextValues(p.m_arrTextValues2)},
                            {"reserved", Reserved(p.m_arrReserved)}});
    }
    json connections = json::array();
    for (const auto& c : doc.m_arrConnections) {
        connections.push_back({{"host", Text(c.m_strHost)},
                               {"port", c.m_nPort},
                               {"user", Text(c.m_strUser)},
                               {"password", Password(c.m_strPassword, showPasswords)},
                               {"useProxy", c.m_bUseProxy},
                               {"passive", c.m_bPassive},
                               {"showPassword", c.m_bShowPassword},
                               {"testPassed", c.m_bTestPassed},
                               {"useWinInet", c.m_bUseWinInet},
                               {"spare", c.m_bSpare},
                               {"reserved", Reserved(c.m_arrReserved)}});
    }
    json recipients = json::array();
    for (const auto& r : doc.m_mail.m_arrRecipients)
        recipients.push_back(Text(r));
    const auto& rep = doc.m_reports;
    return {{"profiles", profiles},
            {"connections", connections},
            {"proxy",
             {{"host", Text(doc.m_proxy.m_strHost)},
              {"user", Text(doc.m_proxy.m_strUser)},
              {"password", Password(doc.m_proxy.m_strPassword, showPasswords)},
              {"port", doc.m_proxy.m_nPort},
              {"type", doc.m_proxy.m_nType},
              {"showPassword", doc.m_proxy.m_bShowPassword}}},
            {"mail",
             {{"server", Text(doc.m_mail.m_strServer)},
              {"user", Text(doc.m_mail.m_strUser)},
              {"password", Password(doc.m_mail.m_strPassword, showPasswords)},
              {"port", doc.m_mail.m_nPort},
              {"from", Text(doc.m_mail.m_strFrom)},
              {"subject", Text(doc.m_mail.m_strSubject)},
              {"recipients", recipients}}},
            {"reports",
             {{"mail",
               {{"enabled", rep.m_bMailEnabled},
                {"sendEmpty", rep.m_bMailSendEmpty},
                {"errors", rep.m_bMailErrors},
                {"newFiles", rep.m_bMailNewFiles},
                {"actions", rep.m_bMailActions},
                {"conflicts", rep.m_bMailConflicts}}},
              {"log",
               {{"enabled", rep.m_bLogEnabled},
                {"errors", rep.m_bLogErrors},
                {"newFiles", rep.m_bLogNewFiles},
                {"actions", rep.m_bLogActions},
                {"conflicts", rep.m_bLogConflicts}}}}},
            {"interval", doc.m_nInterval},
            {"intervalConfirmed", doc.m_bIntervalConfirmed},
            {"reserved", Reserved(doc.m_arrReserved)}};
}

void ProjectFromJsonText(std::string_view text, CCorvaneDoc& doc) {
    json parsed;
    try {
        parsed = json::parse(text);
    } catch (const json::exception& e) {
        throw JsonFormatError(std::string("not valid JSON: ") + e.what());
    }
    ProjectFromJson(parsed, doc);
}

void ProjectFromJson(const json& j, CCorvaneDoc& doc) {
    auto& rep = doc.m_reports;
    Reader::Object(
        j, "",
        {{"profiles",
          [&](const json& v, const std::string& s) {
              doc.m_arrProfiles.clear();
              Reader::Array(v, s, [&](const json& e, const std::string& p) {
                  GetProfile(e, p, doc.m_arrProfiles.emplace_back());
              });
          }},
         {"connections",
          [&](const json& v, const std::string& s) {
              doc.m_arrConnections.clear();
              Reader::Array(v, s, [&](const json& e, const std::string& p) {
                  GetConnection(e, p, doc.m_arrConnections.emplace_back());
              });
          }},
         {"proxy",
          [&](const json& v, const std::string& s) {
              auto& x = doc.m_proxy;
              Reader::Object(v, s,
                             {{"host", Field(x.m_strHost)},
                              {"user", Field(x.m_strUser)},
                              {"password", Field(x.m_strPassword)},
                              {"port", Field(x.m_nPort)},
                              {"type", Field(x.m_nType)},
                              {"showPassword", Field(x.m_bShowPassword)}});
          }},
         {"mail",
          [&](const json& v, const std::string& s) {
              auto& m = doc.m_mail;
              Reader::Object(v, s,
                             {{"server", Field(m.m_strServer)},
                              {"user", Field(m.m_strUser)},
                              {"password", Field(m.m_strPassword)},
                              {"port", Field(m.m_nPort)},
                              {"from", Field(m.m_strFrom)},
                              {"subject", Field(m.m_strSubject)},
                              {"recipients", [&](const json& r, const std::string& rs) {
                                   m.m_arrRecipients.clear();
                                   Reader::Array(r, rs, [&](const json& e, const std::string& p) {
                                       Get(e, p, m.m_arrRecipients.emplace_back());
                                   });
                               }}});
          }},
         {"reports",
          [&](const json& v, const std::string& s) {
              Reader::Object(v, s,
                             {{"mail",
                               [&](const json& m, const std::string& ms) {
                                   Reader::Object(m, ms,
                                                  {{"enabled", Field(rep.m_bMailEnabled)},
                                                   {"sendEmpty", Field(rep.m_bMailSendEmpty)},
                                                   {"errors", Field(rep.m_bMailErrors)},
                                                   {"newFiles", Field(rep.m_bMailNewFiles)},
                                                   {"actions", Field(rep.m_bMailActions)},
                                                   {"conflicts", Field(rep.m_bMailConflicts)}});
                               }},
                              {"log", [&](const json& l, const std::string& ls) {
                                   Reader::Object(l, ls,
                                                  {{"enabled", Field(rep.m_bLogEnabled)},
                                                   {"errors", Field(rep.m_bLogErrors)},
                                                   {"newFiles", Field(rep.m_bLogNewFiles)},
                                                   {"actions", Field(rep.m_bLogActions)},
                                                   {"conflicts", Field(rep.m_bLogConflicts)}});
                               }}});
          }},
         {"interval", Field(doc.m_nInterval)},
         {"intervalConfirmed", Field(doc.m_bIntervalConfirmed)},
         {"reserved", [&](const json& v, const std::string& s) { GetReserved(v, s, doc.m_arrReserved); }}});
}

} // namespace corvane
