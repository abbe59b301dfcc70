#include "Exceptions.h"

#include "RuntimeException.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

ClassTable* RuntimeException::ctbl = nullptr;
void RuntimeException::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(ctbl, "RuntimeException");
    ctbl->allocate = &allocateInstance<RuntimeException>;
    RuntimeRegisterProperty(
        ctbl, "Message", "s", {}, {}, RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }));
}
ClassTable* RuntimeException::lookup()
{
    return classLookup<RuntimeException>();
}

#define VORPEL_DEFINE_EXCEPTION(Name)                                                                        \
    ClassTable* Name::ctbl = nullptr;                                                                        \
    void Name::ctblinit()                                                                                    \
    {                                                                                                        \
        if (ctbl)                                                                                            \
            return;                                                                                          \
        ctbl = RuntimeNewClass(RuntimeException::lookup());                                                  \
        RuntimeSetClassName(ctbl, #Name);                                                                    \
    }                                                                                                        \
    ClassTable* Name::lookup()                                                                               \
    {                                                                                                        \
        return classLookup<Name>();                                                                          \
    }

VORPEL_DEFINE_EXCEPTION(NilObjectException)
VORPEL_DEFINE_EXCEPTION(ThreadAccessingUIException)
VORPEL_DEFINE_EXCEPTION(IllegalCastException)
VORPEL_DEFINE_EXCEPTION(StackOverflowException)
VORPEL_DEFINE_EXCEPTION(InvalidArgumentException)
VORPEL_DEFINE_EXCEPTION(UnsupportedOperationException)

RaisedException::RaisedException(RuntimeException& exception)
    : m_exception(&exception)
{
    RuntimeLockObject(m_exception);
    m_what.append(exception.classTable()->nameView());
    if (exception.Message) {
        m_what.append(": ");
        m_what.append(exception.Message->bytes());
    }
}

RaisedException::RaisedException(const RaisedException& other)
    : std::exception(other)
    , m_exception(other.m_exception)
    , m_what(other.m_what)
{
    RuntimeLockObject(m_exception);
}

RaisedException::~RaisedException()
{
    RuntimeUnlockObject(m_exception);
}

bool RaisedException::is(const ClassTable* table) const
{
    return m_exception->isA(table);
}

const char* RaisedException::what() const noexcept
{
    return m_what.c_str();
}

void RuntimeRaiseException(RuntimeException& exception)
{
    throw RaisedException(exception);
}

void RuntimeReraiseException(RuntimeException& exception)
{
    RuntimeRaiseException(exception);
}

void RuntimeRaise(const ClassTable* table, std::string_view message)
{
    Ref<Object> object = RuntimeNewObject(table);
    VORPEL_ASSERT(object->isA(RuntimeException::lookup()), "raised an object that is not an exception");
    auto& exception = static_cast<RuntimeException&>(object.get());
    exception.Message = String::create(message);
    RuntimeRaiseException(exception);
}

void RaiseNilObjectException()
{
    RuntimeRaise(NilObjectException::lookup(), "An object was nil.");
}

namespace {
// The type of the exception being handled, as the source spells it.
std::string caughtTypeName()
{
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return "an exception of unknown type";
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> readable(
        abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && readable ? readable.get() : type->name();
}

RefPtr<RuntimeException> foreignException(std::string_view said)
{
    std::string message = "C++ exception " + caughtTypeName();
    if (!said.empty() && said != caughtTypeName()) {
        message += ": ";
        message += said;
    }
    Ref<Object> object = RuntimeNewObject(RuntimeException::lookup());
    auto& exception = static_cast<RuntimeException&>(object.get());
    exception.Message = String::create(message);
    return RefPtr<RuntimeException>(&exception);
}
} // namespace

RefPtr<RuntimeException> RuntimeCaughtException() noexcept
{
    try {
        try {
            throw;
        } catch (const RaisedException& raised) {
            return RefPtr<RuntimeException>(&raised.exception());
        } catch (const std::exception& error) {
            return foreignException(error.what());
        } catch (...) {
            return foreignException({});
        }
    } catch (...) {
        return nullptr;
    }
}
