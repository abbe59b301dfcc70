#pragma once

#include "Ref.h"

#include <exception>
#include <string>
#include <string_view>

class Object;
class RuntimeException;
struct ClassTable;

// The one C++ exception that carries a raised runtime exception. It holds a strong reference to it.
class RaisedException : public std::exception {
public:
    explicit RaisedException(RuntimeException&);
    RaisedException(const RaisedException&);
    RaisedException& operator=(const RaisedException&) = delete;
    ~RaisedException() override;

    RuntimeException& exception() const { return *m_exception; }
    // Whether the carried exception is of that class or of a subclass.
    bool is(const ClassTable*) const;
    template <class T> bool is() const { return is(T::lookup()); }
    const char* what() const noexcept override;

private:
    RuntimeException* m_exception;
    std::string m_what;
};

[[noreturn]] void RuntimeRaiseException(RuntimeException&);
// Raises a caught exception again, the same object: no different from raising it.
[[noreturn]] void RuntimeReraiseException(RuntimeException&);
[[noreturn]] void RaiseNilObjectException();

// A fetched object tested before use: nil raises NilObjectException. A held handle lends the object; a
// handed-over one passes its reference on as a Ref.
template <class T> T& checkNonNil(const RefPtr<T>& object)
{
    if (!object)
        RaiseNilObjectException();
    return *object;
}
template <class T> Ref<T> checkNonNil(RefPtr<T>&& object)
{
    if (!object)
        RaiseNilObjectException();
    return object.releaseNonNull();
}

// Raises a new exception of the given class (RuntimeException or a subclass) with the message.
[[noreturn]] void RuntimeRaise(const ClassTable*, std::string_view message);

// Only inside a catch block: the exception being handled, as a runtime exception. A raised one is
// itself; any other C++ exception (std::bad_alloc, whatever a toolkit throws) becomes a new
// RuntimeException whose message names its type and what it says. Nil only when even that cannot be
// made; nothing leaves it.
RefPtr<RuntimeException> RuntimeCaughtException() noexcept;
