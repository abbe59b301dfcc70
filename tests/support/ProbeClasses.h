#pragma once

#include "runtime/Object.h"

#include <string>
#include <vector>

// Small runtime classes for tests: Base with two operations and two events, Derived replacing one and
// adding one, each logging its initialiser and finaliser.
namespace probe {

inline std::vector<std::string>& log()
{
    static std::vector<std::string> entries;
    return entries;
}

class Base : public Object {
public:
    int value = 0;
    static constexpr Slot<int(int)> kTwice { 0 };
    static constexpr Slot<std::string()> kName { 1 };
    static constexpr std::size_t kMethodCount = 2;
    static constexpr EventSlot<void()> kPing { 0 };
    static constexpr EventSlot<bool(int)> kAsk { 1 };

    static int Twice(Base* self, int x) { return 2 * x + self->value; }
    static std::string Name(Base*) { return "Base"; }

    static ClassTable* ctbl;
    static ClassTable* lookup()
    {
        if (!ctbl) {
            ctbl = RuntimeNewClass(Object::lookup());
            RuntimeSetClassName(ctbl, "probe.Base");
            ctbl->allocate = &allocateInstance<Base>;
            RuntimeNewVtable(ctbl, { method<&Twice>(), method<&Name>() });
            RuntimeDeclareEvents(ctbl, { "Ping", "Ask" });
            ctbl->initializer = [](Object*) { log().push_back("init Base"); };
            ctbl->finalizer = [](Object*) { log().push_back("final Base"); };
        }
        return ctbl;
    }
};
inline ClassTable* Base::ctbl = nullptr;

class Derived : public Base {
public:
    static constexpr Slot<int()> kOwn { Base::kMethodCount };
    static std::string Name(Derived*) { return "Derived"; }
    static int Own(Derived*) { return 7; }
    static void OnPing(Derived*) { log().push_back("Derived.Ping"); }
    static bool OnAsk(Derived*, int x) { return x > 0; }

    static ClassTable* ctbl;
    static ClassTable* lookup()
    {
        if (!ctbl) {
            ctbl = RuntimeNewClass(Base::lookup());
            RuntimeSetClassName(ctbl, "probe.Derived");
            ctbl->allocate = &allocateInstance<Derived>;
            RuntimeReplaceMethod<&Name>(ctbl, Base::kName);
            RuntimeNewVtable(ctbl, { method<&Own>() });
            RuntimeBindEventHandler<&OnAsk>(ctbl, Base::kAsk);
            ctbl->initializer = [](Object*) { log().push_back("init Derived"); };
            ctbl->finalizer = [](Object*) { log().push_back("final Derived"); };
        }
        return ctbl;
    }
};
inline ClassTable* Derived::ctbl = nullptr;

class Unrelated : public Object {
public:
    static ClassTable* ctbl;
    static ClassTable* lookup()
    {
        if (!ctbl) {
            ctbl = RuntimeNewClass(Object::lookup());
            RuntimeSetClassName(ctbl, "probe.Unrelated");
            ctbl->allocate = &allocateInstance<Unrelated>;
        }
        return ctbl;
    }
};
inline ClassTable* Unrelated::ctbl = nullptr;

} // namespace probe
