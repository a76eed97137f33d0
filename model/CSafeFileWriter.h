#pragma once
// Replaces a file so that a failure at any point leaves the previous file intact:
// the bytes go to a temporary file in the same directory, which is flushed to disk
// and then renamed over the target. The temporary file has no name until it is
// complete (where the file system allows), so a save killed half-way leaves nothing
// behind; where it must have one, a later save removes it once its process is gone.
#include <cstdio>
#include <functional>
#include <string>

class CSafeFileWriter {
public:
    // The file that writing `path` replaces: a symbolic link is followed (through a
    // chain of links, relative or absolute) to its target, so that the link stays a
    // link and whoever reads through it sees the new bytes. Empty when the links
    // cannot be followed (a loop, say), or when a link sits in a folder anyone may write
    // to (sticky, as /tmp) and belongs neither to us nor to the folder's owner: the
    // kernel's protected-symlinks rule, which a link resolved here would otherwise bypass.
    static std::string ResolveLinks(const std::string& path);

    // Empty when the file at `path` (its links followed) may be replaced: its folder
    // takes new files, and an existing file is a regular file that is not read-only
    // and whose owner the replacement can keep. Otherwise the reason.
    // Read-only means without any write permission bit, or not writable by us: root
    // may write anything, yet a file marked read-only stays so for root too.
    // In a folder anyone may write to, a file of another user is never replaced: it
    // may have been put there to receive the passwords the project holds.
    static std::string CheckReplaceable(const std::string& path);

    // Writes through `write`, which receives an open stream; it throws on failure.
    // Returns an empty string on success, else what failed (the target is untouched).
    // What CheckReplaceable refuses is refused here too, before anything is written.
    // A new file is created with mode 0600 (it holds passwords); an existing one keeps
    // its mode, owner and group.
    static std::string Write(const std::string& path, const std::function<void(std::FILE*)>& write);
};
