#include "String.h"

#include "RefTrace.h"

#include <atomic>

#ifdef VORPEL_TEST_HOOKS
namespace {
std::atomic<std::size_t> liveStrings { 0 };
}
#endif

String::String(std::string_view bytes, TextEncoding encoding)
    : m_encoding(encoding)
    , m_bytes(bytes)
{
#ifdef VORPEL_TEST_HOOKS
    liveStrings.fetch_add(1, std::memory_order_relaxed);
#endif
}

String::~String()
{
#ifdef VORPEL_TEST_HOOKS
    liveStrings.fetch_sub(1, std::memory_order_relaxed);
#endif
}

Ref<String> String::create(std::string_view bytes, TextEncoding encoding)
{
    return adoptRef(*new String(bytes, encoding));
}

Ref<String> String::create(const char8_t* utf8)
{
    return create(std::string_view(reinterpret_cast<const char*>(utf8)));
}

void RuntimeLockString(String* string)
{
    if (!string)
        return;
    VORPEL_ASSERT(string->m_refCount > 0, "reference taken to a string being destroyed");
    ++string->m_refCount;
    traceRef(RefEvent::LockString, string, string->m_refCount);
}

void RuntimeUnlockString(String* string)
{
    if (!string)
        return;
    VORPEL_ASSERT(string->m_refCount > 0, "string reference count below zero");
    --string->m_refCount;
    traceRef(RefEvent::UnlockString, string, string->m_refCount);
    if (string->m_refCount == 0)
        delete string;
}

Ref<String> RuntimeAddString(String* a, String* b)
{
    std::string joined;
    std::string_view left = a ? a->bytes() : std::string_view();
    std::string_view right = b ? b->bytes() : std::string_view();
    joined.reserve(left.size() + right.size());
    joined.append(left).append(right);
    return String::create(joined, a ? a->encoding() : (b ? b->encoding() : TextEncoding::UTF8));
}

#ifdef VORPEL_TEST_HOOKS
std::size_t RuntimeLiveStringCount()
{
    return liveStrings.load(std::memory_order_relaxed);
}
#endif
