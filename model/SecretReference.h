#pragma once
// Where the JSON of `build` may say to find a password instead of holding it: an
// environment variable, or the first line of a file (without its line end), as
// configuration management hands secrets over.
#include <cstddef>
#include <string>

namespace corvane {

// A secret file's first line is read up to this many bytes.
inline constexpr std::size_t kSecretLineCap = 64 * 1024;

// False with `error` naming the reference (never the secret) when the variable is not set.
bool ReadSecretFromEnvironment(const std::string& name, std::string& secret, std::string& error);

// The first line of a regular file; a relative path is taken from the working directory.
// False with `error` naming the file when it cannot be read.
bool ReadSecretFromFile(const std::string& path, std::string& secret, std::string& error);

} // namespace corvane
