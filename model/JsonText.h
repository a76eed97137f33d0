#pragma once
// JSON text from an operator, read strictly: a key given twice in one object is an error,
// and every error names where it is (the key path, line and column) but never quotes the
// text read, which may be a password.
#include <nlohmann/json_fwd.hpp>

#include <string_view>

namespace corvane {

// Throws JsonFormatError (model/ProjectJson.h): "KEY.PATH: not valid JSON at line L,
// column C: REASON", "KEY.PATH: duplicate key", without the key path at the top.
nlohmann::json ParseJsonText(std::string_view text);

} // namespace corvane
