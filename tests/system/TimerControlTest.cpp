#include "SystemSupport.h"

#include "library/ActionSource.h"
#include "library/PaneChild.h"
#include "mainwindow/vorpel_timer.h"

#include <cstdint>
#include <string>
#include <vector>

using Window1::vorpel_timer;

namespace {
Ref<vorpel_timer> newTimer()
{
    return newObject<vorpel_timer>();
}
} // namespace

TEST(TimerControl, RegistersOnceAsATimerWithItsTwoFields)
{
    ClassTable* table = vorpel_timer::lookup();
    vorpel_timer::ctblinit();
    EXPECT_EQ(vorpel_timer::lookup(), table);
    EXPECT_EQ(table->nameView(), "Window1.vorpel_timer");
    EXPECT_EQ(table->base, ::Timer::lookup());
    ASSERT_EQ(table->methods.size(), vorpel_timer::kMethodCount);
    ASSERT_EQ(table->fields.size(), 2u);
    EXPECT_EQ(table->fields[0].name->bytes(), "Index");
    EXPECT_EQ(table->fields[0].typeCode, "i4");
    EXPECT_EQ(table->fields[1].name->bytes(), "ownerWindow");
    EXPECT_EQ(table->fields[1].typeCode, "o<Window>");
    EXPECT_TRUE(table->inheritsFrom(actionSource::lookup()));

    // The framework's own hooks are hidden; the window and the constructor are not.
    std::vector<std::string> names, hidden;
    for (const OperationInfo& operation : table->operations) {
        names.emplace_back(operation.name->bytes());
        for (const Attribute& attribute : operation.attributes) {
            if (attribute.name->bytes() == "Hidden")
                hidden.emplace_back(operation.name->bytes());
        }
    }
    EXPECT_EQ(
        names, (std::vector<std::string> { "_SetWindow", "Window", "_Index", "_SetIndex", "Constructor" }));
    EXPECT_EQ(hidden, (std::vector<std::string> { "_SetWindow", "_Index", "_SetIndex" }));
    ASSERT_EQ(table->attributes.size(), 1u);
    EXPECT_EQ(table->attributes[0].name->bytes(), "__Scope");
    EXPECT_EQ(table->attributes[0].value->bytes(), "Private");
}

TEST(TimerControl, NewTimerIsUnlinkedWithIndexZero)
{
    Ref<vorpel_timer> timer = newTimer();
    EXPECT_EQ(vorpel_timer::Index_(timer.ptr()), 0);
    EXPECT_EQ(vorpel_timer::Window(timer.ptr()).get(), nullptr);
    EXPECT_EQ(timer->mode(), ::Timer::ModeOff) << "Timer's own set-up ran";
}

TEST(TimerControl, LinkingHoldsTheWindowOnceAndUnlinkingReleasesIt)
{
    Ref<vorpel_timer> timer = newTimer();
    Ref<::Window> first = newObject<::Window>();
    Ref<::Window> second = newObject<::Window>();

    vorpel_timer::SetWindow_(timer.ptr(), first.ptr());
    EXPECT_EQ(first->refCount(), 2u);
    EXPECT_EQ(vorpel_timer::Window(timer.ptr()).get(), first.ptr());
    EXPECT_EQ(first->refCount(), 2u) << "the getter's reference goes with its result";
    {
        RefPtr<::Window> linked = vorpel_timer::Window(timer.ptr());
        EXPECT_EQ(first->refCount(), 3u) << "the getter hands one reference to the caller";
    }

    vorpel_timer::SetWindow_(timer.ptr(), first.ptr());
    EXPECT_EQ(first->refCount(), 2u) << "relinking the same window";

    vorpel_timer::SetWindow_(timer.ptr(), second.ptr());
    EXPECT_EQ(first->refCount(), 1u);
    EXPECT_EQ(second->refCount(), 2u);

    vorpel_timer::SetWindow_(timer.ptr(), nullptr);
    EXPECT_EQ(second->refCount(), 1u);
    EXPECT_EQ(vorpel_timer::Window(timer.ptr()).get(), nullptr);
}

TEST(TimerControl, RelinkingAWindowHeldByTheTimerAloneKeepsItAlive)
{
    Ref<vorpel_timer> timer = newTimer();
    WeakPtr<::Window> watched;
    {
        Ref<::Window> window = newObject<::Window>();
        watched = WeakPtr<::Window>(window.ptr());
        vorpel_timer::SetWindow_(timer.ptr(), window.ptr());
    }
    vorpel_timer::SetWindow_(timer.ptr(), watched.get());
    EXPECT_TRUE(watched);
    EXPECT_EQ(watched.get()->refCount(), 1u);
}

TEST(TimerControl, DestroyingALinkedTimerReleasesItsWindowOnce)
{
    Ref<::Window> window = newObject<::Window>();
    {
        Ref<vorpel_timer> timer = newTimer();
        vorpel_timer::SetWindow_(timer.ptr(), window.ptr());
        EXPECT_EQ(window->refCount(), 2u);
    }
    EXPECT_EQ(window->refCount(), 1u);
    std::size_t before = RuntimeLiveObjectCount();
    newTimer();
    EXPECT_EQ(RuntimeLiveObjectCount(), before) << "an unlinked timer goes cleanly";
}

TEST(TimerControl, IndexTakesAnyValue)
{
    Ref<vorpel_timer> timer = newTimer();
    for (std::int32_t value : { -1, 0, 7, INT32_MIN, INT32_MAX }) {
        vorpel_timer::SetIndex_(timer.ptr(), value);
        EXPECT_EQ(vorpel_timer::Index_(timer.ptr()), value);
    }
}

TEST(TimerControl, NilTimerRaisesBeforeTouchingAnything)
{
    Ref<::Window> window = newObject<::Window>();
    EXPECT_EQ(raisedBy([&] { vorpel_timer::SetWindow_(nullptr, window.ptr()); }), "NilObjectException");
    EXPECT_EQ(window->refCount(), 1u) << "the reference taken on entry was given back";
    EXPECT_EQ(raisedBy([] { vorpel_timer::Window(nullptr); }), "NilObjectException");
    EXPECT_EQ(raisedBy([] { vorpel_timer::Index_(nullptr); }), "NilObjectException");
    EXPECT_EQ(raisedBy([] { vorpel_timer::SetIndex_(nullptr, 3); }), "NilObjectException");
}

// The framework reaches the timer's window and index only through the interface, by position.
TEST(TimerControl, PaneChildInterfaceWorksByItsOperationOrder)
{
    Ref<vorpel_timer> timer = newTimer();
    Ref<::Window> window = newObject<::Window>();
    const InterfaceImpl* pane = timer->classTable()->findInterface(PaneChild_::lookup());
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(pane->methods.size(), 4u);

    entryAs<void (*)(Object*, ::Window*)>(pane->methods[PaneChild_::kSetWindow])(timer.ptr(), window.ptr());
    RefPtr<::Window> linked
        = entryAs<RefPtr<::Window> (*)(Object*)>(pane->methods[PaneChild_::kWindow])(timer.ptr());
    EXPECT_EQ(linked.get(), window.ptr());
    entryAs<void (*)(Object*, std::int32_t)>(pane->methods[PaneChild_::kSetIndex])(timer.ptr(), -5);
    EXPECT_EQ(entryAs<std::int32_t (*)(Object*)>(pane->methods[PaneChild_::kIndex])(timer.ptr()), -5);

    const InterfaceImpl* source = timer->classTable()->findInterface(actionSource::lookup());
    ASSERT_NE(source, nullptr);
    const ClassTable* base = ::Timer::lookup();
    ASSERT_EQ(source->methods.size(), 2u);
    EXPECT_EQ(source->methods[0].fn, base->methods[::Timer::kAddActionNotificationReceiver.index].fn);
    EXPECT_EQ(source->methods[1].fn, base->methods[::Timer::kRemoveActionNotificationReceiver.index].fn);
}
