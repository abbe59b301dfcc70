#pragma once

#include "runtime/ClassTable.h"
#include "runtime/Exceptions.h"
#include "runtime/MainThread.h"
#include "runtime/Object.h"
#include "runtime/String.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

// Property tables as data: one row a property, with the field it reads and writes and what must hear of
// a change. A class's table setters and its named setters write a field through the same store.
namespace property {

template <class M> struct MemberTraits;
template <class C, class T> struct MemberTraits<T C::*> {
    using Class = C;
    using Value = T; // what a setter takes
    using Result = T; // what a getter gives
};
template <class C> struct MemberTraits<Ref<String> C::*> {
    using Class = C;
    using Value = String*; // nil stores the empty string
    using Result = RefPtr<String>;
};

template <auto Member> using ClassOf = typename MemberTraits<decltype(Member)>::Class;
template <auto Member> using ValueOf = typename MemberTraits<decltype(Member)>::Value;
template <auto Member> using ResultOf = typename MemberTraits<decltype(Member)>::Result;

// The one write of a field. It returns early when nothing changed; otherwise it tells Changed: nothing
// for nullptr, an aspect to the class's propertyChanged(object, aspect), or a function of the object.
template <auto Member, auto Changed = nullptr> void store(ClassOf<Member>* self, ValueOf<Member> value)
{
    if constexpr (std::is_same_v<ValueOf<Member>, String*>) {
        Ref<String> next = value ? Ref<String>(*value) : String::create("");
        if ((self->*Member)->bytes() == next->bytes())
            return;
        self->*Member = std::move(next);
    } else {
        if (self->*Member == value)
            return;
        self->*Member = value;
    }
    if constexpr (std::is_enum_v<decltype(Changed)>)
        propertyChanged(self, Changed);
    else if constexpr (!std::is_null_pointer_v<decltype(Changed)>)
        Changed(self);
}

// A property table's setter and getter: the main-thread rule and the nil test first.
template <auto Member, auto Changed = nullptr> void set(Object* object, std::int32_t, ValueOf<Member> value)
{
    UITrap_();
    if (!object)
        RaiseNilObjectException();
    store<Member, Changed>(static_cast<ClassOf<Member>*>(object), value);
}

template <auto Member> ResultOf<Member> get(Object* object)
{
    UITrap_();
    if (!object)
        RaiseNilObjectException();
    return ResultOf<Member>(static_cast<ClassOf<Member>*>(object)->*Member);
}

// A typed setter of the framework's, with or without the ignored index, as a property table's setter.
// The framework's own setters leave the main-thread rule to their callers, so trapFirst applies it
// first; forward hands a named setter that applies it itself the value as it is.
template <auto Setter, bool ApplyRule> struct TableSetter;
template <class C, class T, void (*Setter)(C*, std::int32_t, T), bool ApplyRule>
struct TableSetter<Setter, ApplyRule> {
    static void set(Object* object, std::int32_t index, T value)
    {
        if constexpr (ApplyRule)
            UITrap_();
        Setter(static_cast<C*>(object), index, value);
    }
};
template <class C, class T, void (*Setter)(C*, T), bool ApplyRule> struct TableSetter<Setter, ApplyRule> {
    static void set(Object* object, std::int32_t, T value)
    {
        if constexpr (ApplyRule)
            UITrap_();
        Setter(static_cast<C*>(object), value);
    }
};
template <auto Setter> constexpr auto trapFirst = &TableSetter<Setter, true>::set;
template <auto Setter> constexpr auto forward = &TableSetter<Setter, false>::set;

struct Row {
    std::string_view name;
    std::string_view typeCode;
    PropertySetter setter;
    PropertyGetter getter;
};

// The row of a plain field; a property with a setter of its own names it in a Row directly.
template <auto Member, auto Changed = nullptr>
constexpr Row row(std::string_view name, std::string_view typeCode)
{
    return { name, typeCode, &set<Member, Changed>, &get<Member> };
}

// Registers the rows in their order, each public.
inline void registerRows(ClassTable* table, std::span<const Row> rows)
{
    for (const Row& each : rows) {
        RuntimeRegisterProperty(table, each.name, each.typeCode, each.setter, each.getter,
            RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }));
    }
}

} // namespace property
