#pragma once
// The table each record keeps of its members: the name the project's JSON gives a member,
// the member, and what kind of text it holds. Copying, the JSON form and redaction walk the
// table, so a member is listed once for all three. The file layout (`Serialize`) keeps its own
// order, which is not the members' order, and the records' tests compare the two.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace corvane {

enum class FieldKind {
    // Numbers, flags, lists, and text the service keeps as it is.
    plain,
    // Text a server or the service acts on (hosts, users, folders, masks, addresses):
    // control characters are never allowed in it.
    serverText,
    // Server text that is a secret: masked in output, emptied by redaction, and in the JSON
    // of `build` it may name where to read it instead of holding it.
    password,
    // Server text that holds a server's own bytes rather than code-page text.
    remotePath,
    // Words the service keeps for itself: a copy keeps the target's own.
    reserved,
};

template <class Record, class T> struct RecordField {
    constexpr RecordField(std::string_view n, T Record::*m, FieldKind k = FieldKind::plain)
        : name(n), member(m), kind(k) {}
    std::string_view name;
    T Record::*member;
    FieldKind kind;
};

// Fields of one record that the JSON shows as an object of their own.
template <class Fields> struct FieldGroup {
    constexpr FieldGroup(std::string_view n, Fields f) : name(n), fields(f) {}
    std::string_view name;
    Fields fields;
};

template <class Fields, class Visit> constexpr void ForEachField(const Fields& fields, Visit&& visit) {
    std::apply([&](const auto&... field) { (visit(field), ...); }, fields);
}

// A new record's reserved list: five words, all zero.
inline constexpr std::size_t kReservedCount = 5;
inline std::vector<std::uint32_t> NewReservedList() {
    return std::vector<std::uint32_t>(kReservedCount, 0);
}

namespace detail {

template <class Record, class Other, class T>
void AssignField(Record& self, Other&& other, const RecordField<Record, T>& field) {
    if (field.kind != FieldKind::reserved)
        self.*field.member = std::forward<Other>(other).*field.member;
}

template <class Record, class Other, class Fields>
void AssignField(Record& self, Other&& other, const FieldGroup<Fields>& group) {
    ForEachField(group.fields, [&](const auto& f) { AssignField(self, std::forward<Other>(other), f); });
}

} // namespace detail

// Every member of `other` into `self` but the reserved list, which keeps the target's own
// entries (as the service's lists copy records). Each member is moved at most once.
template <class Record, class Other> void AssignAllButReserved(Record& self, Other&& other) {
    ForEachField(Record::Fields(),
                 [&](const auto& f) { detail::AssignField(self, std::forward<Other>(other), f); });
}

} // namespace corvane
