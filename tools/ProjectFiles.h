#pragma once
// Reading the files the commands are given, with messages an operator can act on.
#include <string>

class CCorvaneDoc;

namespace corvane {

// The whole file; false with `error` naming the file and the reason.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Loads a project without the program's open semantics (no reset on failure): the
// commands report precisely where the file stops making sense.
bool LoadProject(const std::string& path, CCorvaneDoc& doc, std::string& error);

// A new project filled from `path`; false after telling the operator why it failed.
bool LoadProjectOrReport(const std::string& path, CCorvaneDoc& doc);

// Saves safely as the program does ("-": to standard output); the exit status of a
// command, 0 or 1 after telling why.
int SaveProject(CCorvaneDoc& doc, const std::string& path);

} // namespace corvane
