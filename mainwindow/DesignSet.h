#pragma once

#include "runtime/Color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Design-time property sets, encoded at compile time from typed entries. An entry is the key, one space
// and the value in the form of the property's type: i4 (4 bytes, big-endian), b (1 byte), c (red, green,
// blue) or s (4-byte big-endian count, then the UTF-8 bytes). Entries follow each other with nothing
// between them, so a set's size is fixed by its entries alone.
namespace designset {

enum class Kind { I4, Boolean, Colour, Text };

struct Entry {
    std::string_view key;
    Kind kind = Kind::I4;
    std::int32_t number = 0;
    Color colour {};
    std::u8string_view text {};
};

consteval Entry i4(std::string_view key, std::int32_t value)
{
    return { key, Kind::I4, value };
}
consteval Entry b(std::string_view key, bool value)
{
    return { key, Kind::Boolean, value ? 1 : 0 };
}
consteval Entry c(std::string_view key, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return { key, Kind::Colour, 0, Color { red, green, blue, 0 } };
}
consteval Entry s(std::string_view key, std::u8string_view text)
{
    return { key, Kind::Text, 0, {}, text };
}

constexpr std::size_t valueSize(const Entry& entry)
{
    switch (entry.kind) {
    case Kind::I4:
        return 4;
    case Kind::Boolean:
        return 1;
    case Kind::Colour:
        return 3;
    case Kind::Text:
        return 4 + entry.text.size();
    }
    return 0;
}

constexpr std::size_t entrySize(const Entry& entry)
{
    return entry.key.size() + 1 + valueSize(entry);
}

template <std::size_t N> constexpr std::size_t encodedSize(const std::array<Entry, N>& entries)
{
    std::size_t size = 0;
    for (const Entry& entry : entries)
        size += entrySize(entry);
    return size;
}

namespace detail {
template <std::size_t Size> struct Writer {
    std::array<char, Size> bytes {};
    std::size_t at = 0;

    constexpr void byte(std::uint32_t value)
    {
        bytes[at++] = static_cast<char>(static_cast<std::uint8_t>(value & 0xFF));
    }
    constexpr void bigEndian(std::uint32_t value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            byte(value >> shift);
    }
};
} // namespace detail

// The bytes of a set. Entries is a constant array of Entry; a key holding a space could not be read
// back, so it fails the build.
template <const auto& Entries> consteval auto encode()
{
    detail::Writer<encodedSize(Entries)> out;
    for (const Entry& entry : Entries) {
        for (char k : entry.key) {
            if (k == ' ')
                throw "a key cannot hold a space";
            out.byte(static_cast<std::uint8_t>(k));
        }
        out.byte(' ');
        switch (entry.kind) {
        case Kind::I4:
            out.bigEndian(static_cast<std::uint32_t>(entry.number));
            break;
        case Kind::Boolean:
            out.byte(entry.number ? 1 : 0);
            break;
        case Kind::Colour:
            out.byte(entry.colour.red);
            out.byte(entry.colour.green);
            out.byte(entry.colour.blue);
            break;
        case Kind::Text:
            out.bigEndian(static_cast<std::uint32_t>(entry.text.size()));
            for (char8_t unit : entry.text)
                out.byte(unit);
            break;
        }
    }
    if (out.at != out.bytes.size())
        throw "the set does not end at its last entry";
    return out.bytes;
}

constexpr std::string_view view(const auto& bytes)
{
    return std::string_view(bytes.data(), bytes.size());
}

} // namespace designset
