#pragma once
// `corvane-dix lint PROJECT`: finds what would make the service fail or misbehave at its
// next run, before it reads the project.
#include <string>
#include <vector>

// Arguments are those after "lint". Prints one line per problem: a stable code, the
// record it concerns, what to do. 0 when there is none, 1 when there is any or the
// project cannot be read, 2 for bad usage.
int RunLintCommand(const std::vector<std::string>& args);
