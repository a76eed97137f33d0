#pragma once
// Counted lists of the project file: a count, then the entries.
#include "model/CArchive.h"

#include <cstdint>
#include <vector>

namespace corvane {

template <class T> void SerializeList(CArchive& ar, std::vector<T>& list) {
    if (ar.IsStoring()) {
        ar.WriteCount(list.size());
        for (auto& e : list)
            e.Serialize(ar);
        return;
    }
    list.clear();
    const std::int32_t n = ar.ReadCount(T::kMinFileSize, sizeof(T));
    list.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        list.emplace_back().Serialize(ar);
}

inline void SerializeReserved(CArchive& ar, std::vector<std::uint32_t>& list) {
    if (ar.IsStoring()) {
        ar.WriteCount(list.size());
        for (auto v : list)
            ar.WriteU32(v);
        return;
    }
    list.clear();
    const std::int32_t n = ar.ReadCount(4, sizeof(std::uint32_t));
    list.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        list.push_back(ar.ReadU32());
}

inline void SerializeStrings(CArchive& ar, std::vector<std::string>& list) {
    if (ar.IsStoring()) {
        ar.WriteCount(list.size());
        for (auto& s : list)
            ar.WriteString(s);
        return;
    }
    list.clear();
    const std::int32_t n = ar.ReadCount(1, sizeof(std::string));
    list.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        list.push_back(ar.ReadString());
}

} // namespace corvane
