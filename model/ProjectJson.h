#pragma once
// The project as JSON, for operators and scripts: text is UTF-8 converted losslessly
// from the code page, keys are fixed, and unknown keys or wrong types are refused.
#include <nlohmann/json_fwd.hpp>

#include <stdexcept>
#include <string>
#include <string_view>

class CCorvaneDoc;

namespace corvane {

class JsonFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Set passwords print as "********" (empty ones stay empty) unless showPasswords is set.
nlohmann::json ProjectToJson(const CCorvaneDoc& doc, bool showPasswords);

// Fills `doc` from JSON. Keys that are missing keep the values of a new project, which
// the caller has made. Throws JsonFormatError naming the offending key path.
void ProjectFromJson(const nlohmann::json& json, CCorvaneDoc& doc);

// The same from JSON text; text that is not JSON (a syntax error, a number no double
// holds) is a JsonFormatError too, starting "not valid JSON".
void ProjectFromJsonText(std::string_view text, CCorvaneDoc& doc);

} // namespace corvane
