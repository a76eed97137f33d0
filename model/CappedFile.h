#pragma once
// The one way the model and corvane-dix read a file from outside: a regular file only, no
// larger than its reader's cap, read with plain reads (never mapped, so a file that shrinks
// meanwhile is an error and not a signal).
#include <cstdint>
#include <string>

struct stat;

namespace corvane {

// Caps of the files the program and corvane-dix read. Real projects and site lists are
// kilobytes; these leave room for the largest and stop a device or a hostile file early.
constexpr std::uint64_t kMaxProjectBytes = 64ull << 20;
constexpr std::uint64_t kMaxJsonBytes = 64ull << 20;
constexpr std::uint64_t kMaxSiteListBytes = 64ull << 20;

// "64 MB" for a cap, as messages and the README name it.
std::string DescribeCap(std::uint64_t bytes);

// The whole of the regular file `path` (links followed) into `bytes`. False with `reason`
// saying why, in words an operator can act on: it cannot be opened, it is not a regular
// file (a folder, a device, a pipe), it is larger than `cap`, or it changed size while it
// was read. `st` receives the file's status when given.
bool ReadCappedFile(const std::string& path, std::uint64_t cap, std::string& bytes, std::string& reason,
                    struct stat* st = nullptr);

// Everything that remains on the open descriptor `fd` (standard input, say), at most `cap`
// bytes; false with `reason` when there is more, or reading fails.
bool ReadCappedStream(int fd, std::uint64_t cap, std::string& bytes, std::string& reason);

} // namespace corvane
