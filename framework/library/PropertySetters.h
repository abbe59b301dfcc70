#pragma once

#include "runtime/Object.h"
#include "runtime/String.h"

#include <cstdint>

// Setters for plain fields, for property tables: the object, the ignored index and the value. Each
// returns early when nothing changed and then calls Changed(object).
namespace property {

inline void noChange(Object*)
{
}

template <class C, class T, T C::*Member, void (*Changed)(C*) = nullptr>
void set(Object* object, std::int32_t, T value)
{
    auto* self = static_cast<C*>(object);
    if (self->*Member == value)
        return;
    self->*Member = value;
    if constexpr (Changed != nullptr)
        Changed(self);
}

template <class C, Ref<String> C::*Member, void (*Changed)(C*) = nullptr>
void setString(Object* object, std::int32_t, String* value)
{
    auto* self = static_cast<C*>(object);
    Ref<String> next = value ? Ref<String>(*value) : String::create("");
    if ((self->*Member)->bytes() == next->bytes())
        return;
    self->*Member = std::move(next);
    if constexpr (Changed != nullptr)
        Changed(self);
}

template <class C, class T, T C::*Member> T get(Object* object)
{
    return static_cast<C*>(object)->*Member;
}

template <class C, Ref<String> C::*Member> RefPtr<String> getString(Object* object)
{
    return RefPtr<String>(static_cast<C*>(object)->*Member);
}

} // namespace property
