#pragma once

#include "Object.h"

#include <cstddef>
#include <vector>

// A routine bound to a target, called through an invoker. A weak delegate holds its target through a
// weak pointer and fetches it again on every call.
class Delegate : public Object {
public:
    MethodEntry invoker;
    MethodEntry function;
    RefPtr<Object> strongTarget;
    WeakPtr<Object> weakTarget;
    RefPtr<String> signature;
    bool weak = false;

    Object* target() const { return weak ? weakTarget.get() : strongTarget.get(); }

    // The invoker for an instance method with one argument of class Arg (the event's sender): the target
    // is fetched, a missing one raises NilObjectException and the function is not called.
    template <class Arg> static void IM_Invoke(Delegate* delegate, Object* sender)
    {
        Object* receiver = delegate->target();
        if (!receiver)
            RaiseNilObjectException();
        VORPEL_ASSERT(
            !sender || sender->isA(Arg::lookup()), "delegate called with a sender of another class");
        entryAs<void (*)(Object*, Arg*)>(delegate->function)(receiver, static_cast<Arg*>(sender));
    }
    template <class Arg> static MethodEntry IM_InvokeEntry()
    {
        return MethodEntry { reinterpret_cast<MethodEntry::Erased>(&IM_Invoke<Arg>),
            &typeid(void (*)(Delegate*, Object*)) };
    }

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

Ref<Delegate> RuntimeCreateDelegate(
    MethodEntry invoker, MethodEntry function, Object* target, String* signature, bool weak);

// One entry of an object's own event table: the stub that handles the event and the delegate beside it.
struct EventBinding {
    MethodEntry stub;
    RefPtr<Delegate> delegate;
};
struct EventBindings {
    std::vector<EventBinding> entries;
};

// Binds a handler stub and its delegate to one event of one object. The binding keeps the delegate alive.
// An index outside the object's event table raises InvalidArgumentException.
void RuntimeAddEventHandler(Object*, std::size_t eventIndex, MethodEntry stub, Delegate*);

// The delegate bound beside an object's event, or nullptr.
Delegate* RuntimeBoundDelegate(const Object&, std::size_t eventIndex);

namespace AddHandler {
// The handler stub for events whose only argument is their sender: it calls the invoker of the delegate
// bound beside the event with the delegate and the sender. Without a delegate it raises NilObjectException.
template <std::size_t EventIndex> void Stub(Object* sender)
{
    Delegate* delegate = RuntimeBoundDelegate(*sender, EventIndex);
    if (!delegate)
        RaiseNilObjectException();
    entryAs<void (*)(Delegate*, Object*)>(delegate->invoker)(delegate, sender);
}
template <std::size_t EventIndex> MethodEntry StubEntry()
{
    return methodErased(&Stub<EventIndex>);
}
} // namespace AddHandler
