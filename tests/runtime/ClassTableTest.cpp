#include "support/ProbeClasses.h"

#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>

using probe::Base;
using probe::Derived;

TEST(ClassTable, MethodTableKeepsTheBaseOrderReplacesInPlaceAndAppends)
{
    const ClassTable* base = Base::lookup();
    const ClassTable* derived = Derived::lookup();
    ASSERT_EQ(derived->methods.size(), 3u);
    EXPECT_EQ(derived->methods[0].fn, base->methods[0].fn) << "inherited entry keeps its place";
    EXPECT_NE(derived->methods[1].fn, base->methods[1].fn) << "replacement stands in the base's slot";

    Ref<Derived> object = newObject<Derived>();
    object->value = 1;
    EXPECT_EQ(callMethod(object.ptr(), Base::kTwice, 5), 11);
    EXPECT_EQ(callMethod(object.ptr(), Base::kName), "Derived");
    EXPECT_EQ(callMethod(object.ptr(), Derived::kOwn), 7);
    Ref<Base> plain = newObject<Base>();
    EXPECT_EQ(callMethod(plain.ptr(), Base::kName), "Base");
}

TEST(ClassTable, CallOnNilRaisesNilObjectException)
{
    try {
        callMethod(static_cast<Object*>(nullptr), Base::kTwice, 1);
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<NilObjectException>());
    }
}

TEST(ClassTable, EventDispatchByIndexReachesTheBoundHandlerOnly)
{
    Ref<Derived> object = newObject<Derived>();
    probe::log().clear();
    EXPECT_FALSE(RuntimeRaiseEvent(object.get(), Base::kPing)) << "Ping has no handler";
    EXPECT_TRUE(probe::log().empty());
    EXPECT_EQ(RuntimeRaiseEvent(object.get(), Base::kAsk, 3), std::optional<bool>(true));
    EXPECT_EQ(RuntimeRaiseEvent(object.get(), Base::kAsk, -3), std::optional<bool>(false));
    Ref<Base> plain = newObject<Base>();
    EXPECT_EQ(RuntimeRaiseEvent(plain.get(), Base::kAsk, 3), std::nullopt) << "the base binds nothing";
}

TEST(ClassTable, CheckCast)
{
    Ref<Derived> derived = newObject<Derived>();
    RefPtr<Base> asBase = checkCast<Base>(derived.ptr());
    EXPECT_EQ(asBase.get(), derived.ptr());
    EXPECT_EQ(derived->refCount(), 2u) << "the cast hands back one reference";
    EXPECT_EQ(checkCast<Base>(nullptr).get(), nullptr);

    Ref<probe::Unrelated> other = newObject<probe::Unrelated>();
    try {
        checkCast<Base>(other.ptr());
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<IllegalCastException>());
        EXPECT_STREQ(raised.what(), "IllegalCastException: cannot cast probe.Unrelated to probe.Base");
    }
    EXPECT_EQ(other->refCount(), 1u);

    try {
        RuntimeCheckCast(derived.ptr(), nullptr);
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<NilObjectException>());
    }
    EXPECT_EQ(derived->refCount(), 2u);
}

TEST(ClassTable, PropertiesAreFoundWithoutRegardToCaseInTheClassThenItsBases)
{
    ClassTable* base = RuntimeNewClass(Object::lookup());
    RuntimeRegisterProperty(base, "MultiLine", "b", {}, {}, {});
    ClassTable* derived = RuntimeNewClass(base);
    RuntimeRegisterProperty(derived, "Width", "i4", {}, {}, {});
    EXPECT_EQ(derived->findProperty("Multiline"), &base->properties[0]);
    EXPECT_EQ(derived->findProperty("width"), &derived->properties[0]);
    EXPECT_EQ(derived->findProperty("Widt"), nullptr);
    EXPECT_EQ(base->findProperty("Width"), nullptr);
}

TEST(ClassTable, InterfacesKeepTheirOperationOrder)
{
    ClassTable* interface = RuntimeNewInterface("probe.Iface");
    ClassTable* table = RuntimeNewClass(Base::lookup());
    RuntimeRegisterInterface(table, interface, { method<&Base::Name>(), method<&Base::Twice>() });
    const InterfaceImpl* impl = table->findInterface(interface);
    ASSERT_NE(impl, nullptr);
    EXPECT_EQ(impl->methods[0].fn, method<&Base::Name>().fn);
    EXPECT_EQ(impl->method(1).fn, method<&Base::Twice>().fn);
    EXPECT_TRUE(table->inheritsFrom(interface));
    // A class that registered fewer operations than a caller asks for raises, never reads past its list.
    try {
        impl->method(2);
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<UnsupportedOperationException>());
    }
    try {
        RuntimeNewObject(interface);
        FAIL() << "an interface was instantiated";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<InvalidArgumentException>());
    }
}

TEST(ClassTable, InitialiserThatRaisesUndoesOnlyWhatRan)
{
    probe::log().clear();
    ClassTable* failing = RuntimeNewClass(Base::lookup());
    failing->initializer = [](Object*) { RaiseNilObjectException(); };
    failing->finalizer = [](Object*) { probe::log().push_back("final failing"); };
    std::size_t before = RuntimeLiveObjectCount();
    EXPECT_THROW(RuntimeNewObject(failing), RaisedException);
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
    EXPECT_EQ(probe::log(), (std::vector<std::string> { "init Base", "final Base" }));
}

#ifndef NDEBUG
TEST(ClassTableDeathTest, WrongSignatureIsCaughtInDebugBuilds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Ref<Base> object = newObject<Base>();
    Slot<int(double)> wrong { 0 };
    EXPECT_DEATH(callMethod(object.ptr(), wrong, 1.0), "wrong signature");
}
#endif
