#pragma once
// Replaces a file so that a failure at any point leaves the previous file intact:
// the bytes go to a temporary file in the same directory, which is flushed to disk
// and then renamed over the target.
#include <cstdio>
#include <functional>
#include <string>

class CSafeFileWriter {
public:
    // Writes through `write`, which receives an open stream; it throws on failure.
    // Returns an empty string on success, else what failed (the target is untouched).
    // A new file is created with mode 0600 (it holds passwords); an existing one keeps its mode.
    static std::string Write(const std::string& path, const std::function<void(std::FILE*)>& write);
};
