#pragma once
// Counted lists of the project file: a count, then the entries.
#include "model/CArchive.h"
#include "model/RecordField.h"

#include <cstdint>
#include <vector>

namespace corvane {

// A record about to be read: one that names a loading form (a profile) skips making
// what the file replaces anyway.
template <class T> T RecordForLoading() {
    if constexpr (requires { typename T::ForLoading; })
        return T(typename T::ForLoading{});
    else
        return T();
}

template <class T> void SerializeList(CArchive& ar, std::vector<T>& list) {
    if (ar.IsStoring()) {
        ar.WriteCount(list.size());
        for (auto& e : list)
            e.Serialize(ar);
        return;
    }
    list.clear();
    // What each element costs in memory, its reserved list included, so the archive can
    // refuse a count no file of this size could hold before anything is allocated.
    std::size_t memory = sizeof(T);
    if constexpr (requires(T & t) { t.m_arrReserved; })
        memory += kReservedCount * sizeof(std::uint32_t);
    const std::int32_t n = ar.ReadCount(T::kMinFileSize, memory);
    list.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        auto& e = list.emplace_back(RecordForLoading<T>());
        e.Serialize(ar);
        // The service puts a record it read into its list by the copy that keeps the new
        // element's own reserved list, so what the file held there is not kept.
        if constexpr (requires(T & t) { t.m_arrReserved; })
            e.m_arrReserved = NewReservedList();
    }
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
