#pragma once

#include "runtime/ClassTable.h"
#include "runtime/Object.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// Writes a property through its class's table setter, as a design-time set does; the value's type must
// be the setter's (String* for a string).
template <class T> void setProperty(Object& object, std::string_view name, T value)
{
    const PropertyInfo* property = object.classTable()->findProperty(name);
    using Setter = void (*)(Object*, std::int32_t, T);
    if (!property || !std::holds_alternative<Setter>(property->setter))
        throw std::logic_error("no settable property " + std::string(name) + " of that type");
    std::get<Setter>(property->setter)(&object, 0, value);
}

// Reads a property through its class's table getter (RefPtr<String> for a string).
template <class R> R getProperty(Object& object, std::string_view name)
{
    const PropertyInfo* property = object.classTable()->findProperty(name);
    using Getter = R (*)(Object*);
    if (!property || !std::holds_alternative<Getter>(property->getter))
        throw std::logic_error("no readable property " + std::string(name) + " of that type");
    return std::get<Getter>(property->getter)(&object);
}
