#pragma once
// Which file a path names and how it stood when this program last read or wrote it, so
// that a change made meanwhile by another program (a second window, corvane-dix, a copy
// from elsewhere) is noticed before it is overwritten.
#include <cstdint>
#include <optional>
#include <string>

struct stat;

class CFileStamp {
public:
    // The file `path` names now, through links; nothing when there is none.
    static std::optional<CFileStamp> Of(const std::string& path);
    static CFileStamp From(const struct stat& st);

    bool operator==(const CFileStamp&) const = default;

private:
    // A replacement (a safe save elsewhere) changes the file itself; a write in place
    // changes its time and usually its size.
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::int64_t m_size = 0;
    std::int64_t m_mtimeSec = 0;
    std::int64_t m_mtimeNsec = 0;
};
