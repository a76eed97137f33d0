// libFuzzer target for the JSON reader behind `corvane-dix build`: any text is refused
// with a format error, or gives a project whose JSON reads back to the same file.
#include "model/CCorvaneDoc.h"
#include "model/ProjectJson.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    try {
        corvane::ProjectFromJsonText({reinterpret_cast<const char*>(data), size}, doc);
    } catch (const corvane::JsonFormatError&) {
        return 0;
    }
    const std::string first = doc.SaveToMemory();
    CCorvaneDoc again;
    again.OnNewDocument();
    corvane::ProjectFromJson(corvane::ProjectToJson(doc, true), again);
    if (again.SaveToMemory() != first)
        __builtin_trap();
    return 0;
}
