#include "support/ProbeClasses.h"

#include "runtime/Delegate.h"
#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>

using probe::Base;

namespace {
struct Receiver : Object {
    int calls = 0;
    Object* lastSender = nullptr;
    static void OnPing(Receiver* self, Base* sender)
    {
        ++self->calls;
        self->lastSender = sender;
    }
    static ClassTable* ctbl;
    static ClassTable* lookup()
    {
        if (!ctbl) {
            ctbl = RuntimeNewClass(Object::lookup());
            RuntimeSetClassName(ctbl, "probe.Receiver");
            ctbl->allocate = &allocateInstance<Receiver>;
        }
        return ctbl;
    }
};
ClassTable* Receiver::ctbl = nullptr;

Ref<Delegate> bind(Base& sender, Receiver& receiver, bool weak)
{
    Ref<String> signature = "( Base )"_s;
    Ref<Delegate> delegate = RuntimeCreateDelegate(
        Delegate::IM_InvokeEntry<Base>(), method<&Receiver::OnPing>(), &receiver, signature.ptr(), weak);
    RuntimeAddEventHandler(&sender, Base::kPing.index, AddHandler::StubEntry<0>(), delegate.ptr());
    return delegate;
}
} // namespace

TEST(Delegate, PerObjectBindingReachesTheTargetThroughStubAndInvoker)
{
    Ref<Base> sender = newObject<Base>();
    Ref<Base> otherSender = newObject<Base>();
    Ref<Receiver> receiver = newObject<Receiver>();
    bind(sender.get(), receiver.get(), true);

    EXPECT_TRUE(RuntimeRaiseEvent(sender.get(), Base::kPing));
    EXPECT_EQ(receiver->calls, 1);
    EXPECT_EQ(receiver->lastSender, sender.ptr());
    EXPECT_FALSE(RuntimeRaiseEvent(otherSender.get(), Base::kPing)) << "the binding is per object";
    EXPECT_EQ(receiver->calls, 1);
}

TEST(Delegate, BindingKeepsTheDelegateAliveAndAWeakTargetUnheld)
{
    Ref<Base> sender = newObject<Base>();
    Ref<Receiver> receiver = newObject<Receiver>();
    Delegate* delegate = nullptr;
    {
        Ref<Delegate> made = bind(sender.get(), receiver.get(), true);
        delegate = made.ptr();
        EXPECT_EQ(made->refCount(), 2u);
    }
    EXPECT_EQ(delegate->refCount(), 1u) << "held by the binding alone";
    EXPECT_EQ(RuntimeBoundDelegate(sender.get(), 0), delegate);
    EXPECT_EQ(receiver->refCount(), 1u) << "a weak target takes no reference";
}

TEST(Delegate, StrongTargetIsHeld)
{
    Ref<Base> sender = newObject<Base>();
    Ref<Receiver> receiver = newObject<Receiver>();
    bind(sender.get(), receiver.get(), false);
    EXPECT_EQ(receiver->refCount(), 2u);
}

TEST(Delegate, GoneWeakTargetRaisesNilObjectExceptionWithoutCalling)
{
    Ref<Base> sender = newObject<Base>();
    RefPtr<Receiver> receiver = newObject<Receiver>();
    bind(sender.get(), *receiver, true);
    receiver = nullptr;
    try {
        RuntimeRaiseEvent(sender.get(), Base::kPing);
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<NilObjectException>());
    }
}

TEST(Delegate, StubBoundWithoutADelegateRaisesNilObjectException)
{
    Ref<Base> sender = newObject<Base>();
    RuntimeAddEventHandler(sender.ptr(), Base::kPing.index, AddHandler::StubEntry<0>(), nullptr);
    try {
        RuntimeRaiseEvent(sender.get(), Base::kPing);
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<NilObjectException>());
    }
}

TEST(Delegate, BindingOutsideTheEventTableIsRefused)
{
    Ref<Base> sender = newObject<Base>();
    Ref<Receiver> receiver = newObject<Receiver>();
    Ref<String> signature = "( Base )"_s;
    Ref<Delegate> delegate = RuntimeCreateDelegate(
        Delegate::IM_InvokeEntry<Base>(), method<&Receiver::OnPing>(), receiver.ptr(), signature.ptr(), true);
    try {
        RuntimeAddEventHandler(sender.ptr(), 2, AddHandler::StubEntry<2>(), delegate.ptr());
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<InvalidArgumentException>());
        EXPECT_STREQ(
            raised.what(), "InvalidArgumentException: event index 2 is outside the 2 events of probe.Base");
    }
}
