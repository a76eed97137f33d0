#include "model/CFileStamp.h"

#include <sys/stat.h>

std::optional<CFileStamp> CFileStamp::Of(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return From(st);
}

CFileStamp CFileStamp::From(const struct stat& st) {
    CFileStamp stamp;
    stamp.m_device = st.st_dev;
    stamp.m_inode = st.st_ino;
    stamp.m_size = st.st_size;
    stamp.m_mtimeSec = st.st_mtim.tv_sec;
    stamp.m_mtimeNsec = st.st_mtim.tv_nsec;
    return stamp;
}
