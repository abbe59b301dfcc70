#include "Object.h"

#include "CallTrace.h"
#include "Delegate.h"
#include "FaultInjection.h"
#include "RefTrace.h"
#include "RuntimeException.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <string>

namespace {
#ifdef VORPEL_TEST_HOOKS
std::atomic<std::size_t> liveObjects { 0 };
#endif
std::atomic<std::size_t> finalizerFailures { 0 };

void reportFinalizerFailure(const ClassTable& table, const char* what)
{
    finalizerFailures.fetch_add(1, std::memory_order_relaxed);
    std::fprintf(stderr, "Exception in finaliser of %.*s: %s\n", static_cast<int>(table.nameView().size()),
        table.nameView().data(), what);
}
} // namespace

std::size_t RuntimeFinalizerFailureCount()
{
    return finalizerFailures.load(std::memory_order_relaxed);
}

#ifdef VORPEL_TEST_HOOKS
namespace detail {
RefTraceHook refTraceHook = nullptr;
void* refTraceContext = nullptr;
} // namespace detail

void RuntimeSetRefTrace(RefTraceHook hook, void* context)
{
    detail::refTraceHook = hook;
    detail::refTraceContext = context;
}
#endif

Object::Object()
{
#ifdef VORPEL_TEST_HOOKS
    liveObjects.fetch_add(1, std::memory_order_relaxed);
#endif
}

Object::~Object()
{
#ifdef VORPEL_TEST_HOOKS
    liveObjects.fetch_sub(1, std::memory_order_relaxed);
#endif
}

ClassTable* Object::ctbl = nullptr;

void Object::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(nullptr);
    RuntimeSetClassName(ctbl, "Object");
    ctbl->allocate = &allocateInstance<Object>;
}

ClassTable* Object::lookup()
{
    return classLookup<Object>();
}

void RuntimeLockObject(Object* object)
{
    if (!object)
        return;
    VORPEL_ASSERT(!object->m_destroying, "reference taken to an object during its destruction");
    ++object->m_refCount;
    traceRef(RefEvent::LockObject, object, object->m_refCount);
}

void RuntimeUnlockObject(Object* object)
{
    if (!object)
        return;
    VORPEL_ASSERT(object->m_refCount > 0, "object reference count below zero");
    --object->m_refCount;
    traceRef(RefEvent::UnlockObject, object, object->m_refCount);
    if (object->m_refCount == 0 && !object->m_destroying)
        object->destroy();
}

void RuntimeLockUnlockObjects(Object* newValue, Object* oldValue)
{
    RuntimeLockObject(newValue);
    RuntimeUnlockObject(oldValue);
}

void Object::destroy()
{
    m_destroying = true;
    // Weak pointers see the object gone from its last release on, so nothing reaches it through one
    // while its finalisers run.
    if (m_weak) {
        m_weak->object = nullptr;
        RuntimeWeakControlRelease(m_weak);
        m_weak = nullptr;
    }
    // Finalisers run class first, then ancestors. A finaliser must not raise: the object goes either way,
    // and nothing may leave here, since the last release often runs in a destructor.
    for (const ClassTable* table = m_class; table; table = table->base) {
        if (!table->finalizer)
            continue;
        try {
            table->finalizer(this);
        } catch (const std::exception& error) {
            reportFinalizerFailure(*table, error.what());
        } catch (...) {
            reportFinalizerFailure(*table, "an exception of unknown type");
        }
    }
    m_bindings.reset();
    delete this;
}

Ref<Object> RuntimeNewObject(const ClassTable* table)
{
    TracedCall trace("RuntimeNewObject", { table });
    if (!table)
        RaiseNilObjectException();
    RuntimeFaultPoint();
    if (table->isInterface || !table->allocate) {
        RuntimeRaise(InvalidArgumentException::lookup(),
            "cannot create an object of " + std::string(table->nameView()));
    }
    Ref<Object> object = adoptRef(*table->allocate());
    object->m_class = table;

    std::vector<const ClassTable*> chain;
    for (const ClassTable* t = table; t; t = t->base)
        chain.push_back(t);
    // Root first. If an initialiser raises, the release below runs the finalisers of the levels that were
    // initialised only: the class pointer is lowered to the last level done.
    for (std::size_t i = chain.size(); i-- > 0;) {
        if (!chain[i]->initializer)
            continue;
        try {
            chain[i]->initializer(object.ptr());
        } catch (...) {
            object->m_class = i + 1 < chain.size() ? chain[i + 1] : nullptr;
            throw;
        }
    }
    return object;
}

RefPtr<Object> RuntimeCheckCast(Object* object, const ClassTable* table)
{
    TracedCall trace("RuntimeCheckCast", { object, table });
    if (!table)
        RaiseNilObjectException();
    if (!object)
        return nullptr;
    if (!object->isA(table)) {
        RuntimeRaise(IllegalCastException::lookup(),
            "cannot cast " + std::string(object->classTable()->nameView()) + " to "
                + std::string(table->nameView()));
    }
    return RefPtr<Object>(object);
}

#ifdef VORPEL_TEST_HOOKS
std::size_t RuntimeLiveObjectCount()
{
    return liveObjects.load(std::memory_order_relaxed);
}
#endif

WeakControl* RuntimeWeakControl(Object& object)
{
    if (!object.m_weak)
        object.m_weak = new WeakControl { &object, 1 };
    return object.m_weak;
}

void RuntimeWeakControlRetain(WeakControl* control)
{
    ++control->weakCount;
}

void RuntimeWeakControlRelease(WeakControl* control)
{
    VORPEL_ASSERT(control->weakCount > 0, "weak count below zero");
    if (--control->weakCount == 0)
        delete control;
}

EventBindings& RuntimeEventBindings(Object& object)
{
    if (!object.m_bindings)
        object.m_bindings = std::make_unique<EventBindings>();
    return *object.m_bindings;
}

const EventBindings* RuntimeFindEventBindings(const Object& object)
{
    return object.m_bindings.get();
}

MethodEntry RuntimeEventHandler(const Object& object, std::size_t eventIndex)
{
    const EventBindings* bindings = RuntimeFindEventBindings(object);
    if (bindings && eventIndex < bindings->entries.size() && bindings->entries[eventIndex].stub)
        return bindings->entries[eventIndex].stub;
    const auto& events = object.classTable()->events;
    return eventIndex < events.size() ? events[eventIndex].handler : MethodEntry {};
}
