#pragma once
#include "model/RecordField.h"

#include <cstdint>
#include <string>

class CArchive;

// Entry of the two profile lists that the configurator never fills but keeps for the service.
class CTextValueEntry {
public:
    std::string m_strText;
    std::uint32_t m_dwValue1 = 0;
    std::uint32_t m_dwValue2 = 0;

    static constexpr auto Fields() {
        return std::tuple{
            corvane::RecordField{"text", &CTextValueEntry::m_strText},
            corvane::RecordField{"value1", &CTextValueEntry::m_dwValue1},
            corvane::RecordField{"value2", &CTextValueEntry::m_dwValue2},
        };
    }

    void Serialize(CArchive& ar);
    static constexpr std::size_t kMinFileSize = 9;

    friend bool operator==(const CTextValueEntry&, const CTextValueEntry&) = default;
};
