#pragma once
// Reading the files the commands are given, with messages an operator can act on.
#include <cstdint>
#include <string>

class CCorvaneDoc;

namespace corvane {

// The whole regular file, at most `cap` bytes; false with `error` naming the file and the
// reason. "-" is standard input.
bool ReadWholeFile(const std::string& path, std::uint64_t cap, std::string& bytes, std::string& error);

// Loads a project as the program opens it; false with `error` naming the file and why.
bool LoadProject(const std::string& path, CCorvaneDoc& doc, std::string& error);

// What a command does with bytes after the end of the project: a command that only reads
// names them on standard error and goes on; one that would write the project back refuses.
enum class TrailingBytes { note, refuse };

// A new project filled from `path`; false after telling the operator why it failed.
bool LoadProjectOrReport(const std::string& path, CCorvaneDoc& doc,
                         TrailingBytes trailing = TrailingBytes::note);

// "N bytes after the end of the project (from byte X)" for a project that has them, else empty.
std::string DescribeTrailingBytes(const CCorvaneDoc& doc, std::uint64_t fileSize);

// Saves safely as the program does ("-": to standard output); the exit status of a
// command, 0 or 1 after telling why.
int SaveProject(CCorvaneDoc& doc, const std::string& path);

} // namespace corvane
