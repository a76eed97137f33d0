#pragma once
// The project as JSON text written record by record: the same text as
// ProjectToJson(doc, showPasswords).dump(2), without the whole tree in memory at once
// (a JSON tree takes some forty times the bytes of the records it holds).
#include <iosfwd>

class CCorvaneDoc;

namespace corvane {

// Each record is moved out of `doc` as it is written: its lists are empty on return.
void WriteProjectJson(std::ostream& out, CCorvaneDoc& doc, bool showPasswords);

} // namespace corvane
