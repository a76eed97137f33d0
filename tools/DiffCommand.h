#pragma once
#include <string>
#include <vector>

// `corvane-dix diff A B [--json]`: each side a project file or the JSON `build` reads;
// exit 0 for the same project, 1 when they differ, 2 when either cannot be read.
int RunDiffCommand(const std::vector<std::string>& args);
