#pragma once
// The project as JSON, for operators and scripts: text is UTF-8 converted losslessly
// from the code page, keys are fixed, and unknown keys or wrong types are refused.
// The keys are the records' field tables (model/RecordField.h).
#include <nlohmann/json_fwd.hpp>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

class CCorvaneDoc;

namespace corvane {

// The message names the key path and never quotes the text read: it may be a password.
class JsonFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Set passwords print as "********" (empty ones stay empty) unless showPasswords is set.
// An FTP folder prints as the window shows it: a string when its bytes are UTF-8, else
// {"codePage": TEXT}, so that reading it back gives the same bytes.
nlohmann::json ProjectToJson(const CCorvaneDoc& doc, bool showPasswords);

// Fills `doc` from JSON. Keys that are missing keep the values of a new project, which
// the caller has made. Text the code page cannot hold, and control characters in text a
// server or the service acts on, are refused. A password may be {"env": NAME} or
// {"file": PATH} (its first line); that is read here. Throws JsonFormatError naming the
// offending key path; `doc` is then half filled and only fit to be thrown away.
void ProjectFromJson(const nlohmann::json& json, CCorvaneDoc& doc);

// The JSON of `corvane-dix build` into a document: the same from JSON text, where a
// duplicate key is refused too, and text that is not JSON (a syntax error, a number no
// double holds) is a JsonFormatError naming where: "KEY.PATH: not valid JSON at line L,
// column C: REASON" (no key path when the error is at the top).
void ProjectFromJsonText(std::string_view text, CCorvaneDoc& doc);

// Calls `visit` with the key path ("connections[0].password", "proxy.password",
// "mail.password") and the member of every password of the project.
void ForEachPassword(CCorvaneDoc& doc,
                     const std::function<void(const std::string& keyPath, std::string& password)>& visit);

} // namespace corvane
