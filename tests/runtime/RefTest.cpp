#include "support/ProbeClasses.h"
#include "support/RefRecorder.h"

#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>
#include <stdexcept>

using probe::Base;

TEST(Ref, NewObjectIsBornWithOneReference)
{
    Ref<Base> object = newObject<Base>();
    EXPECT_EQ(object->refCount(), 1u);
    EXPECT_EQ(object->value, 0);
}

TEST(Ref, CopyMoveAndSelfAssignmentKeepTheCountExact)
{
    Ref<Base> object = newObject<Base>();
    RefRecorder recorder(object.ptr());
    {
        Ref<Base> copy = object; // +2
        Ref<Base> moved = std::move(copy); // no change
        moved = moved; // copy-and-swap: +3 then -2
        RefPtr<Base> nullable = object; // +3
        nullable = nullptr; // -2
        RefPtr<Base> nullableMoved = std::move(nullable); // nil moves: nothing
        EXPECT_FALSE(nullableMoved);
    } // moved goes: -1
    EXPECT_EQ(recorder.steps(), (std::vector<std::string> { "+2", "+3", "-2", "+3", "-2", "-1" }));
}

// Each hand-over to another handle, also to one of a base class, moves the one reference it is given: the
// whole log is the copy that made that reference and the release by its last holder.
TEST(Ref, HandOversMoveTheReferenceWithoutARefDerefPair)
{
    using probe::Derived;
    struct Case {
        const char* what;
        Base* (*handOver)(Ref<Derived>); // what the last holder held, just before it released it
    };
    const Case cases[] = {
        { "Ref<Derived> to Ref<Base>",
            [](Ref<Derived> given) -> Base* {
                Ref<Base> held = std::move(given);
                return held.ptr();
            } },
        { "Ref<Derived> assigned to a Ref<Base>",
            [](Ref<Derived> given) -> Base* {
                Ref<Base> held = newObject<Base>();
                held = std::move(given);
                return held.ptr();
            } },
        { "Ref<Derived> to RefPtr<Base>",
            [](Ref<Derived> given) -> Base* {
                RefPtr<Base> held = std::move(given);
                return held.get();
            } },
        { "RefPtr<Derived> to RefPtr<Base>",
            [](Ref<Derived> given) -> Base* {
                RefPtr<Derived> source = std::move(given);
                RefPtr<Base> held = std::move(source);
                EXPECT_FALSE(source);
                return held.get();
            } },
        { "RefPtr<Derived> assigned to a RefPtr<Base>",
            [](Ref<Derived> given) -> Base* {
                RefPtr<Derived> source = std::move(given);
                RefPtr<Base> held;
                held = std::move(source);
                EXPECT_FALSE(source);
                return held.get();
            } },
        { "RefPtr<Derived>::releaseNonNull",
            [](Ref<Derived> given) -> Base* {
                RefPtr<Derived> source = std::move(given);
                Ref<Derived> held = source.releaseNonNull();
                EXPECT_FALSE(source);
                return held.ptr();
            } },
    };
    Ref<Derived> object = newObject<Derived>();
    for (const Case& c : cases) {
        RefRecorder recorder(object.ptr());
        Base* held = c.handOver(object);
        EXPECT_EQ(held, object.ptr()) << c.what;
        EXPECT_EQ(recorder.steps(), (std::vector<std::string> { "+2", "-1" })) << c.what;
        EXPECT_EQ(object->refCount(), 1u) << c.what;
    }
}

// A fetched object passes the check with no change to its count, lent or handed over; a nil one raises.
TEST(Ref, CheckNonNilPassesTheObjectOnOrRaisesNilObjectException)
{
    Ref<Base> object = newObject<Base>();
    {
        RefPtr<Base> held = object;
        RefRecorder recorder(object.ptr());
        EXPECT_EQ(&checkNonNil(held), object.ptr());
        Ref<Base> taken = checkNonNil(std::move(held));
        EXPECT_EQ(taken.ptr(), object.ptr());
        EXPECT_FALSE(held);
        EXPECT_TRUE(recorder.steps().empty());
    }
    EXPECT_EQ(object->refCount(), 1u);

    auto raisesNilObject = [](auto check) {
        try {
            check();
        } catch (const RaisedException& raised) {
            return raised.is<NilObjectException>();
        }
        return false;
    };
    RefPtr<Base> nil;
    EXPECT_TRUE(raisesNilObject([&] { (void)checkNonNil(nil); })) << "lent";
    EXPECT_TRUE(raisesNilObject([&] { (void)checkNonNil(std::move(nil)); })) << "handed over";
}

TEST(Ref, ReleasesOnExceptionUnwind)
{
    Ref<Base> object = newObject<Base>();
    RefRecorder recorder(object.ptr());
    auto body = [&] {
        Ref<Base> held = object;
        RefPtr<Base> alsoHeld = object.ptr();
        RaiseNilObjectException();
    };
    EXPECT_THROW(body(), RaisedException);
    EXPECT_EQ(object->refCount(), 1u);
    EXPECT_EQ(recorder.steps(), (std::vector<std::string> { "+2", "+3", "-2", "-1" }));
}

TEST(Ref, ForeignExceptionsPassThroughAndStillRelease)
{
    Ref<Base> object = newObject<Base>();
    auto body = [&] {
        Ref<Base> held = object;
        throw std::runtime_error("not ours");
    };
    EXPECT_THROW(body(), std::runtime_error);
    EXPECT_EQ(object->refCount(), 1u);
}

TEST(Ref, LastReleaseRunsFinalisersClassFirstAndFrees)
{
    probe::log().clear();
    std::size_t before = RuntimeLiveObjectCount();
    {
        Ref<probe::Derived> object = newObject<probe::Derived>();
        EXPECT_EQ(RuntimeLiveObjectCount(), before + 1);
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
    EXPECT_EQ(probe::log(),
        (std::vector<std::string> { "init Base", "init Derived", "final Derived", "final Base" }));
}

TEST(WeakPtr, GoesNilWhenTheLastStrongReferenceGoes)
{
    WeakPtr<Base> weak;
    {
        Ref<Base> object = newObject<Base>();
        weak = WeakPtr<Base>(object.ptr());
        WeakPtr<Base> copy = weak;
        EXPECT_EQ(copy.get(), object.ptr());
        EXPECT_EQ(object->refCount(), 1u) << "a weak pointer takes no strong reference";
        EXPECT_EQ(weak.lock()->refCount(), 2u);
    }
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_FALSE(weak.lock());
}

TEST(Ref, NewObjectsFieldsStartZeroEvenInReusedMemory)
{
    struct Bare : Object {
        std::int32_t number;
        double real;
        Object* pointer;
    };
    ClassTable* table = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(table, "probe.Bare");
    table->allocate = &allocateInstance<Bare>;
    // Each round dirties the fields before its release, so the next object may land on that memory.
    for (int round = 0; round < 4; ++round) {
        RefPtr<Object> object = RuntimeNewObject(table);
        auto* bare = static_cast<Bare*>(object.get());
        EXPECT_EQ(bare->number, 0) << "round " << round;
        EXPECT_EQ(bare->real, 0.0) << "round " << round;
        EXPECT_EQ(bare->pointer, nullptr) << "round " << round;
        bare->number = 0x5A5A5A5A;
        bare->real = 1.5;
        bare->pointer = bare;
    }
}

TEST(WeakPtr, IsNilWhileTheFinalisersRun)
{
    enum class Seen { NotRun, Nil, TheDyingObject };
    static WeakPtr<Object> watcher;
    static Seen seen;
    seen = Seen::NotRun;
    ClassTable* table = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(table, "probe.Watched");
    table->finalizer = [](Object*) { seen = watcher.get() ? Seen::TheDyingObject : Seen::Nil; };
    RefPtr<Object> object = RuntimeNewObject(table);
    watcher = WeakPtr<Object>(object.get());
    object = nullptr;
    EXPECT_EQ(seen, Seen::Nil);
    watcher = WeakPtr<Object>();
}

TEST(Ref, NilDoesNothing)
{
    RuntimeLockObject(nullptr);
    RuntimeUnlockObject(nullptr);
    RuntimeLockString(nullptr);
    RuntimeUnlockString(nullptr);
    RuntimeLockUnlockObjects(nullptr, nullptr);
    RefPtr<Base> empty;
    EXPECT_EQ(empty.get(), nullptr);
}

TEST(Ref, AssignmentLocksTheNewBeforeReleasingTheOld)
{
    Ref<Base> object = newObject<Base>();
    RefRecorder recorder(object.ptr());
    RuntimeLockUnlockObjects(object.ptr(), object.ptr());
    EXPECT_EQ(recorder.steps(), (std::vector<std::string> { "+2", "-1" }));
}

#ifndef NDEBUG
TEST(RefDeathTest, ReferenceDuringDestructionIsCaught)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto resurrect = [] {
        ClassTable* table = RuntimeNewClass(Object::lookup());
        RuntimeSetClassName(table, "probe.Resurrecting");
        table->finalizer = [](Object* self) { RuntimeLockObject(self); };
        RuntimeUnlockObject(RuntimeNewObject(table).leakRef());
    };
    EXPECT_DEATH(resurrect(), "during its destruction");
}

TEST(RefDeathTest, ReleaseNonNullOfNilIsCaught)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH((void)RefPtr<Base>().releaseNonNull(), "releaseNonNull of a nil RefPtr");
}
#endif
