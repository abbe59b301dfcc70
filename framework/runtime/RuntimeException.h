#pragma once

#include "Object.h"
#include "String.h"

// The base class of every raised exception. Subclasses add no fields: each is told by its class table.
class RuntimeException : public Object {
public:
    RefPtr<String> Message;

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

#define VORPEL_DECLARE_EXCEPTION(Name)                                                                       \
    class Name : public RuntimeException {                                                                   \
    public:                                                                                                  \
        static ClassTable* ctbl;                                                                             \
        static void ctblinit();                                                                              \
        static ClassTable* lookup();                                                                         \
    };

VORPEL_DECLARE_EXCEPTION(NilObjectException)
VORPEL_DECLARE_EXCEPTION(ThreadAccessingUIException)
VORPEL_DECLARE_EXCEPTION(IllegalCastException)
VORPEL_DECLARE_EXCEPTION(StackOverflowException)
// Raised by the framework for bad input, such as a malformed design-time property set.
VORPEL_DECLARE_EXCEPTION(InvalidArgumentException)
// Raised for an operation that is not available in this build.
VORPEL_DECLARE_EXCEPTION(UnsupportedOperationException)

#undef VORPEL_DECLARE_EXCEPTION
