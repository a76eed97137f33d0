#pragma once
#include "model/RecordField.h"

#include <string>

class CArchive;

// One exclusion mask of a folder profile.
class CFileMask {
public:
    std::string m_strMask;
    bool m_bUpload = false;
    bool m_bDownload = false;

    static constexpr auto Fields() {
        return std::tuple{
            corvane::RecordField{"mask", &CFileMask::m_strMask, corvane::FieldKind::serverText},
            corvane::RecordField{"upload", &CFileMask::m_bUpload},
            corvane::RecordField{"download", &CFileMask::m_bDownload},
        };
    }

    void Serialize(CArchive& ar);
    // The smallest record a file can hold: empty text and two flags.
    static constexpr std::size_t kMinFileSize = 3;

    friend bool operator==(const CFileMask&, const CFileMask&) = default;
};
