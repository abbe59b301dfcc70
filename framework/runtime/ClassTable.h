#pragma once

#include "Color.h"
#include "Method.h"
#include "String.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

class Object;

struct Attribute {
    Ref<String> name;
    Ref<String> value;
};
using AttributeTable = std::vector<Attribute>;

// A registered operation: name, parameter and result type codes, attributes such as "__Scope".
struct OperationInfo {
    Ref<String> name;
    std::string parameterTypes;
    std::string resultType;
    AttributeTable attributes;
};

// Setters and getters a property table can hold, one alternative per value type code.
using SetI4 = void (*)(Object*, std::int32_t, std::int32_t);
using SetBoolean = void (*)(Object*, std::int32_t, bool);
using SetColor = void (*)(Object*, std::int32_t, Color);
using SetStringValue = void (*)(Object*, std::int32_t, String*);
using SetF4 = void (*)(Object*, std::int32_t, float);
using SetByte = void (*)(Object*, std::int32_t, std::uint8_t);
using PropertySetter
    = std::variant<std::monostate, SetI4, SetBoolean, SetColor, SetStringValue, SetF4, SetByte>;

using GetI4 = std::int32_t (*)(Object*);
using GetBoolean = bool (*)(Object*);
using GetColor = Color (*)(Object*);
using GetStringValue = RefPtr<String> (*)(Object*);
using GetF4 = float (*)(Object*);
using GetByte = std::uint8_t (*)(Object*);
using PropertyGetter
    = std::variant<std::monostate, GetI4, GetBoolean, GetColor, GetStringValue, GetF4, GetByte>;

struct PropertyInfo {
    Ref<String> name;
    std::string typeCode;
    PropertySetter setter;
    PropertyGetter getter;
    AttributeTable attributes;
};

struct FieldInfo {
    Ref<String> name;
    std::string typeCode;
    AttributeTable attributes;
};

struct ClassTable;

// An implemented interface: the interface's table and the implementing operations in its order.
struct InterfaceImpl {
    const ClassTable* interface;
    std::vector<MethodEntry> methods;

    // The operation at an index of the interface; a class that registered fewer raises
    // UnsupportedOperationException rather than reading past its list.
    const MethodEntry& method(std::size_t index) const;
};

struct EventInfo {
    const char* name;
    MethodEntry handler;
};

// What one class registers. Built once by the class's registration function and never released.
struct ClassTable {
    using Hook = void (*)(Object*);
    using Allocator = Object* (*)();

    Ref<String> name = String::create("");
    const ClassTable* base = nullptr;
    bool isInterface = false;
    std::vector<MethodEntry> methods;
    std::vector<OperationInfo> operations;
    std::vector<EventInfo> events;
    std::vector<PropertyInfo> properties;
    std::vector<FieldInfo> fields;
    std::vector<InterfaceImpl> interfaces;
    AttributeTable attributes;
    Hook initializer = nullptr;
    Hook finalizer = nullptr;
    Allocator allocate = nullptr;

    std::string_view nameView() const { return name->bytes(); }
    bool inheritsFrom(const ClassTable* other) const;
    const InterfaceImpl* findInterface(const ClassTable* interface) const;
    // The property whose name matches without regard to ASCII case, here or in a base; nullptr if none.
    const PropertyInfo* findProperty(std::string_view name) const;
};

// A new class table for a subclass of base (nullptr for a root): the base's method table, events and
// allocator are copied so that the subclass starts as the base.
ClassTable* RuntimeNewClass(const ClassTable* base);
ClassTable* RuntimeNewInterface(std::string_view name);

// Appends the class's own operations after the inherited ones; returns the slot index of the first.
std::size_t RuntimeNewVtable(ClassTable*, std::initializer_list<MethodEntry> own);

// Replaces an inherited operation in place. The replacement's signature is checked against the slot.
template <auto F, class R, class... A> void RuntimeReplaceMethod(ClassTable* table, Slot<R(A...)> slot)
{
    static_assert(fits<F>(Slot<R(A...)> {}), "replacement does not match the slot's signature");
    VORPEL_ASSERT(slot.index < table->methods.size(), "replacement slot out of range");
    table->methods[slot.index] = method<F>();
}

AttributeTable RuntimeAllocateAttributeTable(
    std::initializer_list<std::pair<std::string_view, std::string_view>>);

void RuntimeRegisterOperation(ClassTable*, std::string_view name, std::string_view parameterTypes,
    std::string_view resultType, AttributeTable);
void RuntimeRegisterProperty(ClassTable*, std::string_view name, std::string_view typeCode, PropertySetter,
    PropertyGetter, AttributeTable);
void RuntimeRegisterField(ClassTable*, std::string_view name, std::string_view typeCode, AttributeTable);
void RuntimeRegisterInterface(ClassTable*, const ClassTable* interface, std::initializer_list<MethodEntry>);
void RuntimeSetClassName(ClassTable*, std::string_view name);
void RuntimeSetClassAttribute(ClassTable*, std::string_view name, std::string_view value);

// Declares events of the class after those it inherits; returns the index of the first.
std::size_t RuntimeDeclareEvents(ClassTable*, std::initializer_list<const char*> names);

// Binds a class-wide handler to an event by index; the handler's signature is checked against the event.
template <auto F, class R, class... A>
void RuntimeBindEventHandler(ClassTable* table, EventSlot<R(A...)> slot)
{
    static_assert(std::is_same_v<typename detail::Thunk<F>::Erased, R (*)(Object*, A...)>,
        "handler does not match the event's signature");
    VORPEL_ASSERT(slot.index < table->events.size(), "event index out of range");
    table->events[slot.index].handler = method<F>();
}

// A per-instance initialiser or finaliser written for its own class, as a class table's hook.
template <auto F> ClassTable::Hook hook()
{
    return &detail::Thunk<F>::call;
}

// Value-initialised, so that fields without an initialiser of their own start zero or nil.
template <class T> Object* allocateInstance()
{
    return new T();
}

// The lookup every class offers: its table, registered on first use.
template <class T> ClassTable* classLookup()
{
    if (!T::ctbl)
        T::ctblinit();
    return T::ctbl;
}
