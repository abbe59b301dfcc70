#pragma once

#include "runtime/Color.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

// Writes design-time property sets from typed entries, so fixtures read as the values they carry. The
// value's alternative picks its form: i4, b, c (red, green, blue) or s.
namespace propset {

using Value = std::variant<std::int32_t, bool, Color, std::string>;

struct Entry {
    std::string key;
    Value value;
};

inline void appendBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

inline void append(std::string& out, const Entry& entry)
{
    out.append(entry.key).push_back(' ');
    if (auto* i4 = std::get_if<std::int32_t>(&entry.value)) {
        appendBigEndian(out, static_cast<std::uint32_t>(*i4));
    } else if (auto* b = std::get_if<bool>(&entry.value)) {
        out.push_back(*b ? '\x01' : '\x00');
    } else if (auto* c = std::get_if<Color>(&entry.value)) {
        out.push_back(static_cast<char>(c->red));
        out.push_back(static_cast<char>(c->green));
        out.push_back(static_cast<char>(c->blue));
    } else {
        const std::string& s = std::get<std::string>(entry.value);
        appendBigEndian(out, static_cast<std::uint32_t>(s.size()));
        out.append(s);
    }
}

template <class Entries> std::string build(const Entries& entries)
{
    std::string out;
    for (const Entry& entry : entries)
        append(out, entry);
    return out;
}

inline std::string build(std::initializer_list<Entry> entries)
{
    return build<std::initializer_list<Entry>>(entries);
}

// The type code a property must declare to take the entry's value.
inline const char* typeCode(const Value& value)
{
    static constexpr const char* codes[] = { "i4", "b", "c", "s" };
    return codes[value.index()];
}

} // namespace propset
