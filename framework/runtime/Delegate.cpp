#include "Delegate.h"

#include "CallTrace.h"
#include "FaultInjection.h"
#include "RuntimeException.h"

#include <string>

ClassTable* Delegate::ctbl = nullptr;

void Delegate::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(ctbl, "Delegate");
    ctbl->allocate = &allocateInstance<Delegate>;
}

ClassTable* Delegate::lookup()
{
    return classLookup<Delegate>();
}

Ref<Delegate> RuntimeCreateDelegate(
    MethodEntry invoker, MethodEntry function, Object* target, String* signature, bool weak)
{
    TracedCall trace("RuntimeCreateDelegate", { invoker, function, target, signature, weak });
    Ref<Delegate> delegate = newObject<Delegate>();
    delegate->invoker = invoker;
    delegate->function = function;
    delegate->weak = weak;
    if (weak)
        delegate->weakTarget = WeakPtr<Object>(target);
    else
        delegate->strongTarget = target;
    delegate->signature = signature;
    return delegate;
}

void RuntimeAddEventHandler(Object* object, std::size_t eventIndex, MethodEntry stub, Delegate* delegate)
{
    TracedCall trace("RuntimeAddEventHandler", { object, eventIndex, stub, delegate });
    if (!object)
        RaiseNilObjectException();
    RuntimeFaultPoint();
    std::size_t count = object->classTable()->events.size();
    if (eventIndex >= count) {
        RuntimeRaise(InvalidArgumentException::lookup(),
            "event index " + std::to_string(eventIndex) + " is outside the " + std::to_string(count)
                + " events of " + std::string(object->classTable()->nameView()));
    }
    EventBindings& bindings = RuntimeEventBindings(*object);
    if (bindings.entries.size() < count)
        bindings.entries.resize(count);
    bindings.entries[eventIndex] = { stub, delegate };
}

Delegate* RuntimeBoundDelegate(const Object& object, std::size_t eventIndex)
{
    const EventBindings* bindings = RuntimeFindEventBindings(object);
    if (!bindings || eventIndex >= bindings->entries.size())
        return nullptr;
    return bindings->entries[eventIndex].delegate.get();
}
