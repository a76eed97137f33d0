#pragma once
// Typed arguments and results of automation calls. Strings carry the model's
// Windows-1252 bytes, as the 8-bit text converted at the call boundary would.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

class IDispatch;

using CVariant =
    std::variant<std::monostate, std::string, std::int16_t, std::int32_t, bool, std::shared_ptr<IDispatch>>;

// Automation type tags, for recording fakes and readable failures.
enum class VarType { empty, bstr, i2, i4, boolean, dispatch };

inline VarType TypeOf(const CVariant& v) {
    return static_cast<VarType>(v.index());
}
