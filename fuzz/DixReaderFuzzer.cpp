// Feeds arbitrary bytes to the project reader: it must either load them or fail with
// the archive's error, never crash, hang or allocate what the bytes merely promise.
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CCorvaneDoc doc;
    try {
        CCorvaneDoc::LoadFromMemory(doc, data, size);
    } catch (const CArchiveException&) {
        return 0;
    }
    // Whatever loaded must write and read back to the same bytes.
    const std::string first = doc.SaveToMemory();
    CCorvaneDoc again;
    CCorvaneDoc::LoadFromMemory(again, first.data(), first.size());
    if (again.SaveToMemory() != first)
        std::abort();
    return 0;
}
