#pragma once
// `corvane-dix import PROJECT SOURCE [--dry-run]`: adds the plain-FTP sites of a site
// list that operators already keep in another FTP program as connections.
#include <string>
#include <vector>

// Arguments are those after "import". 0 when the list was read (whatever it skipped),
// 1 when the project or the list cannot be read or the save fails, 2 for bad usage.
int RunImportCommand(const std::vector<std::string>& args);
