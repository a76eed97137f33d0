#include "model/ProjectJson.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/JsonText.h"
#include "model/SecretReference.h"
#include "model/SecretText.h"
#include "model/VisibleText.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <limits>
#include <optional>
#include <type_traits>

using nlohmann::json;

namespace corvane {
namespace {

// The project's own keys. The document is not a record of the file, but its JSON is one
// object like a record's.
constexpr auto ProjectFields() {
    using D = CCorvaneDoc;
    return std::tuple{
        RecordField{"profiles", &D::m_arrProfiles},
        RecordField{"connections", &D::m_arrConnections},
        RecordField{"proxy", &D::m_proxy},
        RecordField{"mail", &D::m_mail},
        RecordField{"reports", &D::m_reports},
        RecordField{"interval", &D::m_nInterval},
        RecordField{"intervalConfirmed", &D::m_bIntervalConfirmed},
        RecordField{"reserved", &D::m_arrReserved},
    };
}

template <class T> constexpr auto FieldsOf() {
    if constexpr (std::is_same_v<T, CCorvaneDoc>)
        return ProjectFields();
    else
        return T::Fields();
}

template <class T>
concept Record = std::is_same_v<T, CCorvaneDoc> || requires {
    T::Fields();
};

template <class T> inline constexpr bool kIsRecordList = false;
template <Record T> inline constexpr bool kIsRecordList<std::vector<T>> = true;

std::string KeyPath(const std::string& path, std::string_view key) {
    // Keys come from the input: shown, never raw.
    const std::string shown = VisibleText(key);
    return path.empty() ? shown : path + "." + shown;
}

std::string IndexPath(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

// ---- Writing ----

constexpr std::string_view kCodePageKey = "codePage";

json RemotePathJson(const std::string& bytes) {
    // As the window reads a server's name; code-page text says so, as it cannot be told apart.
    if (IsValidUtf8(bytes))
        return bytes;
    return json::object({{kCodePageKey, Cp1252ToUtf8(bytes)}});
}

json TextJson(const std::string& text, FieldKind kind, bool showPasswords) {
    if (kind == FieldKind::password && !showPasswords)
        return MaskSecret(text);
    if (kind == FieldKind::remotePath)
        return RemotePathJson(text);
    return Cp1252ToUtf8(text);
}

template <class R, class Fields> json ObjectJson(const R& record, const Fields& fields, bool showPasswords);

json ValueJson(const std::string& text, FieldKind kind, bool show) {
    return TextJson(text, kind, show);
}

json ValueJson(const std::vector<std::string>& list, FieldKind kind, bool show) {
    json out = json::array();
    for (const auto& text : list)
        out.push_back(TextJson(text, kind, show));
    return out;
}

template <class T> json ValueJson(const T& value, FieldKind, bool show) {
    if constexpr (Record<T>) {
        return ObjectJson(value, FieldsOf<T>(), show);
    } else if constexpr (kIsRecordList<T>) {
        json out = json::array();
        for (const auto& e : value)
            out.push_back(ValueJson(e, FieldKind::plain, show));
        return out;
    } else {
        return json(value); // numbers, flags, reserved words
    }
}

template <class R, class T> void PutField(json& out, const R& record, const RecordField<R, T>& f, bool show) {
    out[std::string(f.name)] = ValueJson(record.*f.member, f.kind, show);
}

template <class R, class F> void PutField(json& out, const R& record, const FieldGroup<F>& g, bool show) {
    out[std::string(g.name)] = ObjectJson(record, g.fields, show);
}

template <class R, class Fields> json ObjectJson(const R& record, const Fields& fields, bool show) {
    json out = json::object();
    ForEachField(fields, [&](const auto& f) { PutField(out, record, f, show); });
    return out;
}

// ---- Reading ----

std::string CodePageText(const std::string& utf8, const std::string& path, const char* what = "") {
    std::string out;
    if (!Utf8ToCp1252Exact(utf8, out))
        throw JsonFormatError(path + ": " + what +
                              "has characters the project's code page (Windows-1252) cannot hold");
    return out;
}

std::string RemotePath(const json& j, const std::string& path) {
    if (j.is_string())
        return j.get<std::string>();
    const auto text = j.is_object() && j.size() == 1 ? j.find(kCodePageKey) : j.end();
    if (text == j.end() || !text->is_string())
        throw JsonFormatError(path + ": expected a string or {\"codePage\": TEXT}");
    return CodePageText(text->get<std::string>(), KeyPath(path, kCodePageKey));
}

std::string Password(const json& j, const std::string& path) {
    if (j.is_string())
        return CodePageText(j.get<std::string>(), path);
    const auto ref = j.is_object() && j.size() == 1 ? j.begin() : j.end();
    if (ref == j.end() || !ref->is_string() || (ref.key() != "env" && ref.key() != "file"))
        throw JsonFormatError(path + ": expected a string, {\"env\": NAME} or {\"file\": PATH}");
    const std::string& name = ref->get_ref<const std::string&>();
    std::string secret;
    std::string error;
    const bool fromEnvironment = ref.key() == "env";
    if (!(fromEnvironment ? ReadSecretFromEnvironment(name, secret, error)
                          : ReadSecretFromFile(name, secret, error)))
        throw JsonFormatError(path + ": " + error);
    return CodePageText(secret, path, fromEnvironment ? "the variable's text " : "the file's first line ");
}

void Get(const json& j, const std::string& path, std::string& out, FieldKind kind) {
    if (kind == FieldKind::password) {
        out = Password(j, path);
    } else if (kind == FieldKind::remotePath) {
        out = RemotePath(j, path);
    } else {
        if (!j.is_string())
            throw JsonFormatError(path + ": expected a string");
        out = CodePageText(j.get_ref<const std::string&>(), path);
    }
    const std::size_t control = kind == FieldKind::plain ? std::string::npos : FindControlCharacter(out);
    if (control != std::string::npos) {
        char code[8];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned char>(out[control]));
        throw JsonFormatError(path + ": holds the control character " + code + ", which is not allowed here");
    }
}

void Get(const json& j, const std::string& path, bool& out, FieldKind) {
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

void Get(const json& j, const std::string& path, std::int32_t& out, FieldKind) {
    if (!j.is_number_integer())
        throw JsonFormatError(path + ": expected an integer");
    const auto v = Integer(j);
    if (!v || *v < std::numeric_limits<std::int32_t>::min() || *v > std::numeric_limits<std::int32_t>::max())
        throw JsonFormatError(path + ": out of the 32-bit signed range");
    out = static_cast<std::int32_t>(*v);
}

void Get(const json& j, const std::string& path, std::uint32_t& out, FieldKind) {
    const auto v = Integer(j);
    if (!v || *v < 0 || *v > std::numeric_limits<std::uint32_t>::max())
        throw JsonFormatError(path + ": expected an unsigned 32-bit integer");
    out = static_cast<std::uint32_t>(*v);
}

template <class R, class Fields>
void GetObject(const json& j, const std::string& path, R& record, const Fields& fields);

// Lists of words, of text and of records: the JSON's entries replace the list.
template <class T> void Get(const json& j, const std::string& path, std::vector<T>& out, FieldKind kind) {
    if (!j.is_array())
        throw JsonFormatError(path + ": expected an array");
    out.clear();
    for (std::size_t i = 0; i < j.size(); ++i) {
        if constexpr (Record<T>)
            GetObject(j[i], IndexPath(path, i), out.emplace_back(), FieldsOf<T>());
        else
            Get(j[i], IndexPath(path, i), out.emplace_back(), kind);
    }
}

template <Record T> void Get(const json& j, const std::string& path, T& out, FieldKind) {
    GetObject(j, path, out, FieldsOf<T>());
}

template <class R, class T>
void GetField(const json& j, const std::string& path, R& record, const RecordField<R, T>& f) {
    Get(j, path, record.*f.member, f.kind);
}

template <class R, class F>
void GetField(const json& j, const std::string& path, R& record, const FieldGroup<F>& g) {
    GetObject(j, path, record, g.fields);
}

// Every key must be one of the table's, so that nothing is silently dropped.
template <class R, class Fields>
void GetObject(const json& j, const std::string& path, R& record, const Fields& fields) {
    if (!j.is_object())
        throw JsonFormatError((path.empty() ? "the project" : path) + ": expected an object");
    for (auto it = j.begin(); it != j.end(); ++it) {
        const std::string sub = KeyPath(path, it.key());
        bool known = false;
        ForEachField(fields, [&](const auto& f) {
            if (!known && f.name == it.key()) {
                known = true;
                GetField(*it, sub, record, f);
            }
        });
        if (!known)
            throw JsonFormatError(sub + ": unknown key");
    }
}

// ---- Passwords ----

template <class R, class Fields, class Visit>
void VisitPasswords(R& record, const std::string& path, const Fields& fields, Visit& visit);

template <class R, class T, class Visit>
void VisitPasswordField(R& record, const std::string& path, const RecordField<R, T>& f, Visit& visit) {
    auto& member = record.*f.member;
    const std::string sub = KeyPath(path, f.name);
    if constexpr (std::is_same_v<T, std::string>) {
        if (f.kind == FieldKind::password)
            visit(sub, member);
    } else if constexpr (Record<T>) {
        VisitPasswords(member, sub, FieldsOf<T>(), visit);
    } else if constexpr (kIsRecordList<T>) {
        for (std::size_t i = 0; i < member.size(); ++i)
            VisitPasswords(member[i], IndexPath(sub, i), FieldsOf<typename T::value_type>(), visit);
    }
}

template <class R, class F, class Visit>
void VisitPasswordField(R& record, const std::string& path, const FieldGroup<F>& g, Visit& visit) {
    VisitPasswords(record, KeyPath(path, g.name), g.fields, visit);
}

template <class R, class Fields, class Visit>
void VisitPasswords(R& record, const std::string& path, const Fields& fields, Visit& visit) {
    ForEachField(fields, [&](const auto& f) { VisitPasswordField(record, path, f, visit); });
}

} // namespace

json ProjectToJson(const CCorvaneDoc& doc, bool showPasswords) {
    return ObjectJson(doc, ProjectFields(), showPasswords);
}

void ProjectFromJson(const json& j, CCorvaneDoc& doc) {
    GetObject(j, "", doc, ProjectFields());
}

void ProjectFromJsonText(std::string_view text, CCorvaneDoc& doc) {
    ProjectFromJson(ParseJsonText(text), doc);
}

void ForEachPassword(CCorvaneDoc& doc,
                     const std::function<void(const std::string& keyPath, std::string& password)>& visit) {
    VisitPasswords(doc, "", ProjectFields(), visit);
}

} // namespace corvane
