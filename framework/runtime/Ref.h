#pragma once

#include "Assert.h"

#include <cstddef>
#include <type_traits>
#include <utility>

class Object;
class String;
void RuntimeLockObject(Object*);
void RuntimeUnlockObject(Object*);
void RuntimeLockString(String*);
void RuntimeUnlockString(String*);

namespace detail {
template <class T> void retain(T* p)
{
    if constexpr (std::is_base_of_v<Object, T>)
        RuntimeLockObject(p);
    else
        RuntimeLockString(p);
}
template <class T> void release(T* p)
{
    if constexpr (std::is_base_of_v<Object, T>)
        RuntimeUnlockObject(p);
    else
        RuntimeUnlockString(p);
}
} // namespace detail

template <class T> class Ref;
template <class T> Ref<T> adoptRef(T&);

// A reference that is never nil. Born either by taking a new reference or by adopting one.
template <class T> class Ref {
public:
    Ref(T& object)
        : m_ptr(&object)
    {
        detail::retain(m_ptr);
    }
    Ref(const Ref& other)
        : m_ptr(other.m_ptr)
    {
        detail::retain(m_ptr);
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> Ref(const Ref<U>& other)
        : m_ptr(other.ptr())
    {
        detail::retain(m_ptr);
    }
    Ref(Ref&& other) noexcept
        : m_ptr(std::exchange(other.m_ptr, nullptr))
    {
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> Ref(Ref<U>&& other) noexcept
        : m_ptr(other.leakRef())
    {
    }
    ~Ref()
    {
        if (m_ptr)
            detail::release(m_ptr);
    }
    Ref& operator=(Ref other) noexcept
    {
        swap(other);
        return *this;
    }
    void swap(Ref& other) noexcept { std::swap(m_ptr, other.m_ptr); }

    T* ptr() const
    {
        VORPEL_ASSERT(m_ptr, "use of a moved-from Ref");
        return m_ptr;
    }
    T& get() const { return *ptr(); }
    T* operator->() const { return ptr(); }
    T& operator*() const { return *ptr(); }
    operator T&() const { return *ptr(); }

    // Hands the reference to the caller, who becomes responsible for releasing it.
    [[nodiscard]] T* leakRef() { return std::exchange(m_ptr, nullptr); }

private:
    friend Ref adoptRef<T>(T&);
    enum class Adopt { Tag };
    Ref(T& object, Adopt)
        : m_ptr(&object)
    {
    }
    T* m_ptr;
};

template <class T> Ref<T> adoptRef(T& object)
{
    return Ref<T>(object, Ref<T>::Adopt::Tag);
}

template <class T> class RefPtr;
template <class T> RefPtr<T> adoptRef(T*);

// A reference that may be nil.
template <class T> class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) { }
    RefPtr(T* object)
        : m_ptr(object)
    {
        if (m_ptr)
            detail::retain(m_ptr);
    }
    RefPtr(T& object)
        : RefPtr(&object)
    {
    }
    RefPtr(const RefPtr& other)
        : RefPtr(other.m_ptr)
    {
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> RefPtr(const RefPtr<U>& other)
        : RefPtr(other.get())
    {
    }
    RefPtr(RefPtr&& other) noexcept
        : m_ptr(std::exchange(other.m_ptr, nullptr))
    {
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> RefPtr(RefPtr<U>&& other) noexcept
        : m_ptr(other.leakRef())
    {
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> RefPtr(Ref<U>&& other)
        : m_ptr(other.leakRef())
    {
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> RefPtr(const Ref<U>& other)
        : RefPtr(other.ptr())
    {
    }
    ~RefPtr()
    {
        if (m_ptr)
            detail::release(m_ptr);
    }
    RefPtr& operator=(RefPtr other) noexcept
    {
        swap(other);
        return *this;
    }
    void swap(RefPtr& other) noexcept { std::swap(m_ptr, other.m_ptr); }

    T* get() const { return m_ptr; }
    T* operator->() const
    {
        VORPEL_ASSERT(m_ptr, "dereference of a nil RefPtr");
        return m_ptr;
    }
    T& operator*() const
    {
        VORPEL_ASSERT(m_ptr, "dereference of a nil RefPtr");
        return *m_ptr;
    }
    explicit operator bool() const { return m_ptr != nullptr; }
    bool operator!() const { return !m_ptr; }
    void clear() { RefPtr().swap(*this); }
    [[nodiscard]] T* leakRef() { return std::exchange(m_ptr, nullptr); }
    // Hands the reference, which must be there, to a Ref; this one is left nil.
    [[nodiscard]] Ref<T> releaseNonNull()
    {
        VORPEL_ASSERT(m_ptr, "releaseNonNull of a nil RefPtr");
        return adoptRef(*std::exchange(m_ptr, nullptr));
    }

private:
    friend RefPtr adoptRef<T>(T*);
    enum class Adopt { Tag };
    RefPtr(T* object, Adopt)
        : m_ptr(object)
    {
    }
    T* m_ptr = nullptr;
};

template <class T> RefPtr<T> adoptRef(T* object)
{
    return RefPtr<T>(object, RefPtr<T>::Adopt::Tag);
}

template <class T, class U> bool operator==(const RefPtr<T>& a, const RefPtr<U>& b)
{
    return a.get() == b.get();
}
template <class T, class U> bool operator==(const RefPtr<T>& a, U* b)
{
    return a.get() == b;
}
template <class T> bool operator==(const RefPtr<T>& a, std::nullptr_t)
{
    return !a;
}
