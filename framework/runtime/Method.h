#pragma once

#include "Assert.h"

#include <cstddef>
#include <type_traits>
#include <typeinfo>

class Object;

// One entry of a method or event table: a routine whose receiver is erased to Object*, with the erased
// signature kept so that a call through the table can be checked against it in debug builds.
struct MethodEntry {
    using Erased = void (*)();
    Erased fn = nullptr;
    const std::type_info* signature = nullptr;
    explicit operator bool() const { return fn != nullptr; }
};

// A typed position in a method table: Slot<R(A...)> calls R(receiver, A...).
template <class Sig> struct Slot;
template <class R, class... A> struct Slot<R(A...)> {
    using Erased = R (*)(Object*, A...);
    std::size_t index;
};

// A typed position in an event table, with the handler's signature.
template <class Sig> struct EventSlot;
template <class R, class... A> struct EventSlot<R(A...)> {
    using Erased = R (*)(Object*, A...);
    std::size_t index;
};

namespace detail {
template <auto F> struct Thunk;
template <class C, class R, class... A, R (*F)(C*, A...)> struct Thunk<F> {
    using Erased = R (*)(Object*, A...);
    static R call(Object* self, A... args) { return F(static_cast<C*>(self), args...); }
};
} // namespace detail

// The table entry for a routine whose first parameter is its receiver (of any runtime class).
template <auto F> MethodEntry method()
{
    using T = detail::Thunk<F>;
    return MethodEntry { reinterpret_cast<MethodEntry::Erased>(&T::call), &typeid(typename T::Erased) };
}

// An entry for a routine already written with an Object* receiver.
template <class R, class... A> MethodEntry methodErased(R (*fn)(Object*, A...))
{
    return MethodEntry { reinterpret_cast<MethodEntry::Erased>(fn), &typeid(R(*)(Object*, A...)) };
}

template <auto F, class R, class... A> constexpr bool fits(Slot<R(A...)>)
{
    return std::is_same_v<typename detail::Thunk<F>::Erased, R (*)(Object*, A...)>;
}

template <class ErasedFn> ErasedFn entryAs(const MethodEntry& entry)
{
    VORPEL_ASSERT(entry.fn, "call through an empty table entry");
    VORPEL_ASSERT(*entry.signature == typeid(ErasedFn), "table entry called with the wrong signature");
    return reinterpret_cast<ErasedFn>(entry.fn);
}
