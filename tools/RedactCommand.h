#pragma once
// `corvane-dix redact IN OUT`: a copy of the project to attach to a support ticket.
#include <string>
#include <vector>

// Arguments are those after "redact". Every password (connections, proxy, mail) is
// emptied, everything else stays; OUT is replaced safely. 0 on success, 1 when IN cannot
// be read or OUT cannot be written, 2 for bad usage.
int RunRedactCommand(const std::vector<std::string>& args);
