#pragma once

#include "Ref.h"

#include <cstdint>
#include <string>
#include <string_view>

// Text encodings a string can be tagged with. The tag is carried, never acted on: bytes stay as given.
enum class TextEncoding : std::uint32_t {
    Unknown = 0,
    UTF8 = 0x08000100,
};

// The runtime's reference-counted byte string. Bytes are kept exactly: no validation, no re-encoding,
// and a NUL is an ordinary byte.
class String {
public:
    static Ref<String> create(std::string_view bytes, TextEncoding = TextEncoding::UTF8);
    static Ref<String> create(const char8_t* utf8);

    std::string_view bytes() const { return m_bytes; }
    std::size_t length() const { return m_bytes.size(); }
    TextEncoding encoding() const { return m_encoding; }
    std::uint32_t refCount() const { return m_refCount; }

    bool operator==(std::string_view other) const { return m_bytes == other; }

private:
    friend void RuntimeLockString(String*);
    friend void RuntimeUnlockString(String*);
    String(std::string_view bytes, TextEncoding encoding);
    ~String();

    std::uint32_t m_refCount = 1;
    TextEncoding m_encoding;
    std::string m_bytes;
};

void RuntimeLockString(String*);
void RuntimeUnlockString(String*);

// A new string: the bytes of a followed by those of b. A nil operand counts as empty.
Ref<String> RuntimeAddString(String* a, String* b);

#ifdef VORPEL_TEST_HOOKS
// How many strings are alive; counted only in builds with the test hooks.
std::size_t RuntimeLiveStringCount();
#endif

inline Ref<String> operator""_s(const char8_t* text, std::size_t length)
{
    return String::create(std::string_view(reinterpret_cast<const char*>(text), length));
}
inline Ref<String> operator""_s(const char* text, std::size_t length)
{
    return String::create(std::string_view(text, length));
}
