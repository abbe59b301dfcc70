#pragma once

#include "ClassTable.h"
#include "Exceptions.h"
#include "Ref.h"
#include "WeakPtr.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

struct EventBindings;

// The root of every runtime object: a reference count, its class table, a weak-pointer control block
// made on demand, and the per-object event bindings.
class Object {
public:
    Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    const ClassTable* classTable() const { return m_class; }
    std::uint32_t refCount() const { return m_refCount; }
    bool isA(const ClassTable* table) const { return m_class && m_class->inheritsFrom(table); }

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();

private:
    friend void RuntimeLockObject(Object*);
    friend void RuntimeUnlockObject(Object*);
    friend Ref<Object> RuntimeNewObject(const ClassTable*);
    friend WeakControl* RuntimeWeakControl(Object&);
    friend EventBindings& RuntimeEventBindings(Object&);
    friend const EventBindings* RuntimeFindEventBindings(const Object&);
    void destroy();

    std::uint32_t m_refCount = 1;
    bool m_destroying = false;
    const ClassTable* m_class = nullptr;
    WeakControl* m_weak = nullptr;
    std::unique_ptr<EventBindings> m_bindings;
};

// A new object of the class with one reference: fields zero or nil, the initialisers of the ancestors
// and of the class run, root first. If an initialiser raises, those that ran are undone and it passes on.
Ref<Object> RuntimeNewObject(const ClassTable*);

template <class T> Ref<T> newObject()
{
    Ref<Object> object = RuntimeNewObject(T::lookup());
    return adoptRef(*static_cast<T*>(object.leakRef()));
}

// The object as that class, with one more reference. Nil passes as nil; an unrelated class raises
// IllegalCastException, a nil class table NilObjectException.
RefPtr<Object> RuntimeCheckCast(Object*, const ClassTable*);

template <class T> RefPtr<T> checkCast(Object* object)
{
    RefPtr<Object> cast = RuntimeCheckCast(object, T::lookup());
    return adoptRef(static_cast<T*>(cast.leakRef()));
}

// An assignment: takes a reference to the new value, then releases the old one.
void RuntimeLockUnlockObjects(Object* newValue, Object* oldValue);

#ifdef VORPEL_TEST_HOOKS
// How many objects are alive; counted only in builds with the test hooks.
std::size_t RuntimeLiveObjectCount();
#endif

// How many finalisers have thrown: the object was freed all the same, and the failure was printed.
std::size_t RuntimeFinalizerFailureCount();

// The object's own event table, made on first use.
EventBindings& RuntimeEventBindings(Object&);
const EventBindings* RuntimeFindEventBindings(const Object&);

// Calls the operation at slot through the receiver's own method table. A nil receiver raises
// NilObjectException.
template <class R, class... A, class... P> R callMethod(Object* self, Slot<R(A...)> slot, P&&... args)
{
    if (!self)
        RaiseNilObjectException();
    VORPEL_ASSERT(slot.index < self->classTable()->methods.size(), "method slot out of range");
    auto fn = entryAs<typename Slot<R(A...)>::Erased>(self->classTable()->methods[slot.index]);
    return fn(self, std::forward<P>(args)...);
}

// What handles an event on this object: its own binding's stub, else the handler its class binds.
MethodEntry RuntimeEventHandler(const Object&, std::size_t eventIndex);

// Raises an event on the object. For a void event: whether a handler ran. Otherwise the handler's
// result, or nothing when no handler is bound.
template <class R, class... A, class... P>
auto RuntimeRaiseEvent(Object& self, EventSlot<R(A...)> slot, P&&... args)
{
    MethodEntry handler = RuntimeEventHandler(self, slot.index);
    if constexpr (std::is_void_v<R>) {
        if (!handler)
            return false;
        entryAs<typename EventSlot<R(A...)>::Erased>(handler)(&self, std::forward<P>(args)...);
        return true;
    } else {
        if (!handler)
            return std::optional<R>();
        return std::optional<R>(
            entryAs<typename EventSlot<R(A...)>::Erased>(handler)(&self, std::forward<P>(args)...));
    }
}
