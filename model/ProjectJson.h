#pragma once
// The project as JSON, for operators and scripts: text is UTF-8 converted losslessly
// from the code page, keys are fixed, and unknown keys or wrong types are refused.
#include <nlohmann/json_fwd.hpp>

#include <stdexcept>
#include <string>

class CCorvaneDoc;

namespace corvane {

class JsonFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Passwords print as "********" unless showPasswords is set.
nlohmann::json ProjectToJson(const CCorvaneDoc& doc, bool showPasswords);

// Fills `doc` from JSON. Keys that are missing keep the values of a new project, which
// the caller has made. Throws JsonFormatError naming the offending key path.
void ProjectFromJson(const nlohmann::json& json, CCorvaneDoc& doc);

} // namespace corvane
