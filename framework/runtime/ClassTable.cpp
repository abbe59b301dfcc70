#include "ClassTable.h"

#include "CallTrace.h"
#include "Exceptions.h"
#include "RuntimeException.h"

#include <memory>
#include <string>

namespace {
// The runtime's registry: class tables live until the process ends.
std::vector<std::unique_ptr<ClassTable>>& registry()
{
    static std::vector<std::unique_ptr<ClassTable>> tables;
    return tables;
}

bool equalsIgnoringASCIICase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}
} // namespace

bool ClassTable::inheritsFrom(const ClassTable* other) const
{
    for (const ClassTable* table = this; table; table = table->base) {
        if (table == other)
            return true;
        for (const InterfaceImpl& impl : table->interfaces) {
            if (impl.interface == other)
                return true;
        }
    }
    return false;
}

const MethodEntry& InterfaceImpl::method(std::size_t index) const
{
    if (index >= methods.size()) {
        RuntimeRaise(UnsupportedOperationException::lookup(),
            "the class implements " + std::to_string(methods.size()) + " operations of interface "
                + std::string(interface ? interface->name->bytes() : "?") + ", not operation "
                + std::to_string(index));
    }
    return methods[index];
}

const InterfaceImpl* ClassTable::findInterface(const ClassTable* interface) const
{
    for (const ClassTable* table = this; table; table = table->base) {
        for (const InterfaceImpl& impl : table->interfaces) {
            if (impl.interface == interface)
                return &impl;
        }
    }
    return nullptr;
}

const PropertyInfo* ClassTable::findProperty(std::string_view propertyName) const
{
    for (const ClassTable* table = this; table; table = table->base) {
        for (const PropertyInfo& property : table->properties) {
            if (equalsIgnoringASCIICase(property.name->bytes(), propertyName))
                return &property;
        }
    }
    return nullptr;
}

ClassTable* RuntimeNewClass(const ClassTable* base)
{
    TracedCall trace("RuntimeNewClass", { base });
    auto table = std::make_unique<ClassTable>();
    table->base = base;
    if (base) {
        table->methods = base->methods;
        table->events = base->events;
        table->allocate = base->allocate;
    }
    registry().push_back(std::move(table));
    return registry().back().get();
}

ClassTable* RuntimeNewInterface(std::string_view name)
{
    ClassTable* table = RuntimeNewClass(nullptr);
    table->isInterface = true;
    RuntimeSetClassName(table, name);
    return table;
}

std::size_t RuntimeNewVtable(ClassTable* table, std::initializer_list<MethodEntry> own)
{
    std::size_t first = table->methods.size();
    table->methods.insert(table->methods.end(), own.begin(), own.end());
    return first;
}

AttributeTable RuntimeAllocateAttributeTable(
    std::initializer_list<std::pair<std::string_view, std::string_view>> entries)
{
    AttributeTable attributes;
    attributes.reserve(entries.size());
    for (auto& [name, value] : entries)
        attributes.push_back({ String::create(name), String::create(value) });
    return attributes;
}

void RuntimeRegisterOperation(ClassTable* table, std::string_view name, std::string_view parameterTypes,
    std::string_view resultType, AttributeTable attributes)
{
    table->operations.push_back({ String::create(name), std::string(parameterTypes), std::string(resultType),
        std::move(attributes) });
}

void RuntimeRegisterProperty(ClassTable* table, std::string_view name, std::string_view typeCode,
    PropertySetter setter, PropertyGetter getter, AttributeTable attributes)
{
    table->properties.push_back(
        { String::create(name), std::string(typeCode), setter, getter, std::move(attributes) });
}

void RuntimeRegisterField(
    ClassTable* table, std::string_view name, std::string_view typeCode, AttributeTable attributes)
{
    table->fields.push_back({ String::create(name), std::string(typeCode), std::move(attributes) });
}

void RuntimeRegisterInterface(
    ClassTable* table, const ClassTable* interface, std::initializer_list<MethodEntry> methods)
{
    table->interfaces.push_back({ interface, std::vector<MethodEntry>(methods) });
}

void RuntimeSetClassName(ClassTable* table, std::string_view name)
{
    TracedCall trace("RuntimeSetClassName", { name });
    table->name = String::create(name);
}

void RuntimeSetClassAttribute(ClassTable* table, std::string_view name, std::string_view value)
{
    table->attributes.push_back({ String::create(name), String::create(value) });
}

std::size_t RuntimeDeclareEvents(ClassTable* table, std::initializer_list<const char*> names)
{
    std::size_t first = table->events.size();
    for (const char* name : names)
        table->events.push_back({ name, {} });
    return first;
}
