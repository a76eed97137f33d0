#pragma once
#include <string>

class CArchive;

// One exclusion mask of a folder profile.
class CFileMask {
public:
    std::string m_strMask;
    bool m_bUpload = false;
    bool m_bDownload = false;

    void Serialize(CArchive& ar);
    // The smallest record a file can hold: empty text and two flags.
    static constexpr std::size_t kMinFileSize = 3;

    friend bool operator==(const CFileMask&, const CFileMask&) = default;
};
